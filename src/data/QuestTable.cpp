#include "QuestTable.h"

namespace pelko {

QuestTable::QuestTable(std::vector<RowNumbers> rows, QuestTexts names,
                       std::shared_ptr<const DetailTexts> details)
    : m_numbers(std::move(rows)), m_names(std::move(names)), m_details(std::move(details))
{
    m_names.finish();
    Q_ASSERT(m_names.textCount() == static_cast<qsizetype>(m_numbers.size()));
}

const QuestTexts &QuestTable::details() const
{
    static const QuestTexts none;
    return m_details ? m_details->texts() : none;
}

QuestRecord QuestTable::row(int r) const
{
    const RowNumbers &n = numbers(r);
    const QuestTexts &d = details();
    const qsizetype first = detailIndex(r, TextField::Client);
    return {n.Region,        n.ChainNo,           n.QuestNo,           m_names.shared(r - 1),
            d.shared(first), d.shared(first + 1), d.shared(first + 2), d.shared(first + 3)};
}

QString QuestTable::text(int r, TextField f) const
{
    return f == TextField::QuestName ? m_names.shared(r - 1) : details().shared(detailIndex(r, f));
}

std::int16_t QuestTable::chainGroup(int r) const
{
    return chainGroupOf(numbers(r).ChainNo);
}

} // namespace pelko
