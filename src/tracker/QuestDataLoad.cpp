#include "QuestDataLoad.h"

#include "FileStore.h"
#include "QuestDatabase.h"

#include <system_error>

#ifdef __linux__
#include <sched.h>
#endif

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace pelko {
namespace {

// Hands memory freed in any thread's heap back to the system, so that the scratch memory of the
// load stays out of the program's resident memory for the rest of its run.
void returnFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

// Lets the calling thread run only where the program's other threads leave room: on a single
// core the texts after the names are then decoded once the window is shown, not while it is
// being built. A reader that needs them first takes over the decoding at its own priority.
void yieldToOtherThreads()
{
#ifdef __linux__
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
#endif
}

} // namespace

int usableProcessors()
{
#ifdef __linux__
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return CPU_COUNT(&set);
#endif
    return static_cast<int>(std::thread::hardware_concurrency());
}

QuestDataLoad::QuestDataLoad(QString path, const LoadPlan &plan)
    : m_path(std::move(path)), m_plan(plan), m_builder(plan.sortPieceRows)
{
    try {
        m_thread = std::thread([this] {
            readAndParse();
            m_builder.work();
            std::shared_ptr<const DetailTexts> details;
            {
                const std::lock_guard lock(m_mutex);
                m_threadSorted = true;
                if (m_table)
                    details = m_table->detailTexts();
            }
            m_sorted.notify_all();
            decodeDetails(details);
        });
    } catch (const std::system_error &) {
        // No thread to be had: take() collates everything, and the first reader of the texts
        // after the names decodes them.
        readAndParse();
        m_threadSorted = true;
        return;
    }
    // The main thread and the loading thread have a processor each; any further processor
    // collates from the start.
    try {
        for (int i = m_plan.processors - 2; i > 0; --i)
            m_helpers.emplace_back([this] { m_builder.work(); });
    } catch (const std::system_error &) {
        // fewer helpers, or none
    }
}

QuestDataLoad::~QuestDataLoad()
{
    m_stop = true;
    if (m_thread.joinable()) {
        m_builder.abandon();
        m_thread.join();
    }
    for (std::thread &helper : m_helpers)
        helper.join();
}

void QuestDataLoad::readAndParse()
{
    const FileRead file = readFile(m_path, kMaxQuestDatabaseBytes);
    if (!file.ok()) {
        m_builder.abandon();
        return;
    }
    QuestDatabase db = parseQuestDatabaseNamesFirst(
        file.bytes, [this](const QuestTexts &names, int rows) { m_builder.rowsRead(names, rows); });
    if (!db.ok()) {
        // Returns once no thread collates the names read any more, which go with db.
        m_builder.abandon();
        return;
    }
    m_builder.close(db.table.names(), db.table.count());
    m_table = std::move(db.table);
}

// After the thread's share of the sort, while the window is set up and shown.
void QuestDataLoad::decodeDetails(const std::shared_ptr<const DetailTexts> &details)
{
    if (!details || m_stop)
        return;
    yieldToOtherThreads();
    details->decode(m_stop, m_plan.textPieceRows, m_plan.textPieces);
    returnFreedMemory(); // the file's bytes, and the sort's scratch memory
}

std::optional<QuestCatalog> QuestDataLoad::take()
{
    m_builder.work();
    std::optional<QuestTable> table;
    {
        std::unique_lock lock(m_mutex);
        m_sorted.wait(lock, [this] { return m_threadSorted; });
        table.swap(m_table);
    }
    for (std::thread &helper : m_helpers)
        helper.join(); // each ends with the last piece it took
    m_helpers.clear();
    if (!table)
        return std::nullopt;
    // The sort keys and the merge runs are freed here; the loading thread hands the freed memory
    // back to the system once the texts are decoded, off the way to the window.
    return m_builder.finish(std::move(*table));
}

} // namespace pelko
