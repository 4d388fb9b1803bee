#pragma once

#include "QuestCatalog.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pelko {

// The processors this process may run on.
int usableProcessors();

// How the load shares out its work; the defaults are the program's. Tests load on as many
// processors as they choose, in pieces small enough that a small table has several, and stop
// the decoding of the texts after a given number of pieces, leaving the rest to the reader.
struct LoadPlan {
    int processors = usableProcessors();
    int sortPieceRows = QuestCatalogBuilder::kPieceRows;
    std::size_t textPieceRows = DetailTexts::kPieceRows;
    std::size_t textPieces = SIZE_MAX; // decoded by the loading thread
};

// Reads, parses and sorts the quest database on a thread of its own, so that the program can
// set up its window meanwhile. The names are collated a piece at a time while the file is still
// being parsed, and the thread that takes the result collates too, so that on a machine of two
// cores both work on the load once the window is ready (where there are more processors, threads
// of their own collate from the start). The texts after the names (most of the
// file) are decoded last, by the loading thread while the window is being shown: the detail pane
// and the search wait for them only when they come first.
class QuestDataLoad
{
public:
    explicit QuestDataLoad(QString path, const LoadPlan &plan = {});
    // Waits for the thread; a load that nobody took stops collating, and texts still being
    // decoded are left to their first reader.
    ~QuestDataLoad();
    QuestDataLoad(const QuestDataLoad &) = delete;
    QuestDataLoad &operator=(const QuestDataLoad &) = delete;

    // The catalog; nullopt when the file cannot be read or holds no valid database. Call once.
    std::optional<QuestCatalog> take();

private:
    void readAndParse();
    void decodeDetails(const std::shared_ptr<const DetailTexts> &details);

    const QString m_path;
    const LoadPlan m_plan;
    QuestCatalogBuilder m_builder;
    // The reading thread's result, read once it has said so.
    std::optional<QuestTable> m_table;
    std::mutex m_mutex;
    std::condition_variable m_sorted;
    bool m_threadSorted = false; // the table is read and the thread's share of the sort is done
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::vector<std::thread> m_helpers; // collating only, on machines of more than two processors
};

} // namespace pelko
