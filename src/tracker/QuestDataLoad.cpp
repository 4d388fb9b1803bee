#include "QuestDataLoad.h"

#include "FileStore.h"
#include "QuestDatabase.h"

#include <system_error>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace pelko {

QuestDataLoad::QuestDataLoad(QString path) : m_path(std::move(path))
{
    try {
        m_thread = std::thread([this] {
            readAndParse();
            m_builder.work();
        });
    } catch (const std::system_error &) {
        readAndParse(); // no thread to be had: take() collates everything
    }
}

QuestDataLoad::~QuestDataLoad()
{
    if (m_thread.joinable()) {
        m_builder.abandon();
        m_thread.join();
    }
}

void QuestDataLoad::readAndParse()
{
    const FileRead file = readFile(m_path, kMaxQuestDatabaseBytes);
    if (!file.ok()) {
        m_builder.abandon();
        return;
    }
    QuestDatabase db = parseQuestDatabase(
        file.bytes, [this](const QuestTexts &texts, int rows) { m_builder.rowsRead(texts, rows); });
    if (!db.ok()) {
        m_builder.abandon();
        return;
    }
    m_builder.close(db.table.texts(), db.table.count());
    m_table = std::move(db.table);
}

std::optional<QuestCatalog> QuestDataLoad::take()
{
    m_builder.work();
    if (m_thread.joinable())
        m_thread.join(); // the table is read, and the thread's share of the sort is done
    if (!m_table)
        return std::nullopt;
    QuestCatalog catalog = m_builder.finish(std::move(*m_table));
    m_table.reset();
#ifdef __GLIBC__
    // The file's bytes, the sort keys and the merge runs are freed now, in the loading thread's
    // heap as much as in the main one; handing the free pages back keeps them out of the
    // program's resident memory for the rest of its run.
    malloc_trim(0);
#endif
    return catalog;
}

} // namespace pelko
