#include "QuestListBuilder.h"

namespace pelko {

QString entryText(const QuestTable &table, const ListEntry &entry)
{
    QString name = table.text(entry.row, TextField::QuestName);
    return entry.mark == TreeMark::None ? name : treeMarkText(entry.mark) + name;
}

QuestListBuilder::QuestListBuilder(const QuestCatalog &catalog, const QuestFilter &filter,
                                   ListPresentation presentation)
    : m_catalog(catalog), m_filter(filter), m_presentation(presentation)
{
    const auto rows = static_cast<std::size_t>(catalog.table().count()) + 1;
    if (presentation == ListPresentation::Flat)
        m_added.assign(rows, 0);
    else
        computeNextListed();
}

void QuestListBuilder::computeNextListed()
{
    const int n = m_catalog.table().count();
    m_nextListed.assign(static_cast<std::size_t>(n) + 2, 0);
    std::int16_t next = 0;
    m_passes.assign(static_cast<std::size_t>(n) + 1, 0);
    std::size_t passing = 0;
    for (int r = n; r >= 1; --r) {
        m_nextListed[static_cast<std::size_t>(r)] = next;
        if (m_filter.matches(r)) {
            m_passes[static_cast<std::size_t>(r)] = 1;
            next = static_cast<std::int16_t>(r);
            ++passing;
        }
    }
    m_tree.reserve(passing);
}

bool QuestListBuilder::CheckQuestFilter(std::int16_t index) const
{
    if (!m_catalog.table().isRow(index))
        return false;
    // The tree has asked the filter of every row once already, for its look-ahead.
    return m_passes.empty() ? m_filter.matches(index) : m_passes[static_cast<std::size_t>(index)];
}

void QuestListBuilder::AddQuestToList(std::int16_t index)
{
    if (!CheckQuestFilter(index))
        return;
    ++m_displayCount;
    if (m_presentation == ListPresentation::Flat) {
        // Sorted by name afterwards, the flat list draws no chains.
        m_added[static_cast<std::size_t>(index)] = 1;
        return;
    }
    const QuestTable &table = m_catalog.table();
    const std::int16_t group = table.chainGroup(index);
    TreeMark mark = TreeMark::None;
    // A quest continues the chain of the quest listed just before it when both share a chain
    // group and it has a chain number (ChainNo 1 to 9 have group 0 and still count).
    if (group == m_lastChainGroup && table.numbers(index).ChainNo != 0) {
        const std::int16_t next = m_nextListed[static_cast<std::size_t>(index)];
        const bool continues = next != 0 && table.chainGroup(next) == m_lastChainGroup;
        mark = continues ? TreeMark::Branch : TreeMark::End;
    }
    m_tree.push_back({index, mark});
    m_lastChainGroup = group;
}

void QuestListBuilder::addAllRows()
{
    const std::int16_t n = m_catalog.table().count();
    for (std::int16_t r = 1; r <= n && r > 0; ++r)
        AddQuestToList(r);
}

QuestList QuestListBuilder::takeEntries()
{
    if (m_presentation == ListPresentation::Tree)
        return std::move(m_tree);
    QuestList entries(static_cast<std::size_t>(m_displayCount));
    auto out = entries.begin();
    for (const std::int16_t row : m_catalog.sortedRows()) {
        if (m_added[static_cast<std::size_t>(row)])
            *out++ = {row, TreeMark::None};
    }
    return entries;
}

} // namespace pelko
