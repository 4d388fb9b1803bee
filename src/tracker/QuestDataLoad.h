#pragma once

#include "QuestCatalog.h"

#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace pelko {

// Reads, parses and sorts the quest database on a thread of its own, so that the program can
// set up its window meanwhile. The thread that takes the result shares the sort's remaining
// work, so that on a machine of two cores both collate once the window is ready.
class QuestDataLoad
{
public:
    explicit QuestDataLoad(QString path);
    // Waits for the thread; a load that nobody took is cut short after the file is parsed.
    ~QuestDataLoad();
    QuestDataLoad(const QuestDataLoad &) = delete;
    QuestDataLoad &operator=(const QuestDataLoad &) = delete;

    // The catalog; nullopt when the file cannot be read or holds no valid database. Waits for
    // the file to be parsed. Call once.
    std::optional<QuestCatalog> take();

private:
    void readAndParse();

    const QString m_path;
    std::mutex m_mutex;
    std::condition_variable m_parsedSignal;
    bool m_parsed = false; // guarded by m_mutex
    bool m_wanted = true;  // guarded by m_mutex; false once the load is abandoned
    std::optional<QuestCatalogBuilder> m_builder; // set before m_parsed when the file is valid
    std::thread m_thread;
};

} // namespace pelko
