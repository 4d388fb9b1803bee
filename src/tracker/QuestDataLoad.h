#pragma once

#include "QuestCatalog.h"

#include <QString>

#include <optional>
#include <thread>

namespace pelko {

// Reads, parses and sorts the quest database on a thread of its own, so that the program can
// set up its window meanwhile. The names are collated a piece at a time while the file is still
// being parsed, and the thread that takes the result collates too, so that on a machine of two
// cores both work on the load once the window is ready.
class QuestDataLoad
{
public:
    explicit QuestDataLoad(QString path);
    // Waits for the thread; a load that nobody took stops collating.
    ~QuestDataLoad();
    QuestDataLoad(const QuestDataLoad &) = delete;
    QuestDataLoad &operator=(const QuestDataLoad &) = delete;

    // The catalog; nullopt when the file cannot be read or holds no valid database. Call once.
    std::optional<QuestCatalog> take();

private:
    void readAndParse();

    const QString m_path;
    QuestCatalogBuilder m_builder;
    std::optional<QuestTable> m_table; // the reading thread's result, read once it has ended
    std::thread m_thread;
};

} // namespace pelko
