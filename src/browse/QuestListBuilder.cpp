#include "QuestListBuilder.h"

namespace pelko {

QString treeBranchPrefix()
{
    return QStringLiteral("　├");
}

QString treeEndPrefix()
{
    return QStringLiteral("　└");
}

QuestListBuilder::QuestListBuilder(const QuestCatalog &catalog, const QuestFilter &filter,
                                   ListPresentation presentation)
    : m_catalog(catalog), m_filter(filter), m_presentation(presentation)
{
    const auto rows = static_cast<std::size_t>(catalog.table().count()) + 1;
    if (presentation == ListPresentation::Flat)
        m_added.assign(rows, false);
    else
        computeNextListed();
}

void QuestListBuilder::computeNextListed()
{
    const int n = m_catalog.table().count();
    m_nextListed.assign(static_cast<std::size_t>(n) + 2, 0);
    std::int16_t next = 0;
    for (int r = n; r >= 1; --r) {
        m_nextListed[static_cast<std::size_t>(r)] = next;
        if (m_filter.matches(r))
            next = static_cast<std::int16_t>(r);
    }
}

bool QuestListBuilder::CheckQuestFilter(std::int16_t index) const
{
    return m_catalog.table().isRow(index) && m_filter.matches(index);
}

void QuestListBuilder::AddQuestToList(std::int16_t index)
{
    if (!CheckQuestFilter(index))
        return;
    const QuestTable &table = m_catalog.table();
    const std::int16_t group = table.chainGroup(index);
    if (m_presentation == ListPresentation::Flat) {
        m_added[static_cast<std::size_t>(index)] = true;
    } else {
        QString text = table.row(index).QuestName;
        // A quest continues the chain of the quest listed just before it when both share a
        // non-zero chain group (ChainNo 1 to 9 have group 0 and still count as follow-ons).
        if (group == m_lastChainGroup && table.row(index).ChainNo != 0) {
            const std::int16_t next = m_nextListed[static_cast<std::size_t>(index)];
            const bool continues = next != 0 && table.chainGroup(next) == m_lastChainGroup;
            text.prepend(continues ? treeBranchPrefix() : treeEndPrefix());
        }
        m_tree.push_back({std::move(text), index});
    }
    ++m_displayCount;
    m_lastChainGroup = group;
}

void QuestListBuilder::addAllRows()
{
    const std::int16_t n = m_catalog.table().count();
    for (std::int16_t r = 1; r <= n && r > 0; ++r)
        AddQuestToList(r);
}

std::vector<ListEntry> QuestListBuilder::takeEntries()
{
    if (m_presentation == ListPresentation::Tree)
        return std::move(m_tree);
    std::vector<ListEntry> entries;
    entries.reserve(static_cast<std::size_t>(m_displayCount));
    for (const std::int16_t row : m_catalog.sortedRows()) {
        if (m_added[static_cast<std::size_t>(row)])
            entries.push_back({m_catalog.table().row(row).QuestName, row});
    }
    return entries;
}

} // namespace pelko
