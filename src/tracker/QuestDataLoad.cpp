#include "QuestDataLoad.h"

#include "FileStore.h"
#include "QuestDatabase.h"

#include <system_error>

namespace pelko {

QuestDataLoad::QuestDataLoad(QString path) : m_path(std::move(path))
{
    try {
        m_thread = std::thread([this] {
            readAndParse();
            std::unique_lock lock(m_mutex);
            if (m_builder && m_wanted) {
                lock.unlock();
                m_builder->work();
            }
        });
    } catch (const std::system_error &) {
        readAndParse(); // no thread to be had: the load is done here, before anything else
    }
}

QuestDataLoad::~QuestDataLoad()
{
    {
        const std::lock_guard lock(m_mutex);
        m_wanted = false;
    }
    if (m_thread.joinable())
        m_thread.join();
}

void QuestDataLoad::readAndParse()
{
    const FileRead file = readFile(m_path, kMaxQuestDatabaseBytes);
    if (file.ok()) {
        QuestDatabase db = parseQuestDatabase(file.bytes);
        if (db.ok())
            m_builder.emplace(std::move(db.table));
    }
    const std::lock_guard lock(m_mutex);
    m_parsed = true;
    m_parsedSignal.notify_all();
}

std::optional<QuestCatalog> QuestDataLoad::take()
{
    {
        std::unique_lock lock(m_mutex);
        m_parsedSignal.wait(lock, [this] { return m_parsed; });
    }
    if (m_builder)
        m_builder->work();
    if (m_thread.joinable())
        m_thread.join(); // its share of the sort is done too
    if (!m_builder)
        return std::nullopt;
    QuestCatalog catalog = m_builder->finish();
    m_builder.reset();
    return catalog;
}

} // namespace pelko
