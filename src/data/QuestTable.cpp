#include "QuestTable.h"

namespace pelko {
namespace {

QString &field(QuestRecord &rec, int f)
{
    QString *const fields[kTextFields] = {&rec.QuestName, &rec.Client, &rec.Process, &rec.Reward1,
                                          &rec.Reward2};
    return *fields[f];
}

} // namespace

void QuestTexts::append(QStringView text)
{
    m_buffer.append(text);
    closeText();
}

QString &QuestTexts::openText()
{
    return m_buffer;
}

void QuestTexts::closeText()
{
    m_buffer.append(QChar(0));
    m_starts.push_back(m_buffer.size());
}

QString QuestTexts::shared(qsizetype text) const
{
    const qsizetype from = start(text);
    const qsizetype size = end(text) - from;
    if (size == 0)
        return QString();
    // A copy of the buffer's data pointer holds one more reference to the buffer; narrowed to
    // the text, it is a QString of its own. Qt's shared arrays allow a view to begin anywhere in
    // its allocation, and whatever would change the text copies it first while the buffer is
    // shared. The terminator after every text keeps utf16() a zero-terminated string.
    QString::DataPointer slice = m_buffer.data_ptr();
    slice.setBegin(slice.data() + from);
    slice.size = size;
    return QString(std::move(slice));
}

QuestTable::QuestTable(std::vector<QuestRecord> quests, QuestRecord endRecord)
    : m_rows(std::move(quests)), m_end(std::move(endRecord))
{
    qsizetype characters = 0;
    for (QuestRecord &rec : m_rows) {
        for (int f = 0; f < kTextFields; ++f)
            characters += field(rec, f).size() + 1;
    }
    m_texts.reserve(characters);
    for (QuestRecord &rec : m_rows) {
        for (int f = 0; f < kTextFields; ++f)
            m_texts.append(field(rec, f));
    }
    shareTexts();
}

QuestTable::QuestTable(std::vector<QuestRecord> quests, QuestRecord endRecord, QuestTexts texts)
    : m_rows(std::move(quests)), m_end(std::move(endRecord)), m_texts(std::move(texts))
{
    Q_ASSERT(m_texts.textCount() == static_cast<qsizetype>(m_rows.size()) * kTextFields);
    shareTexts();
}

void QuestTable::shareTexts()
{
    m_numbers.reserve(m_rows.size());
    qsizetype text = 0;
    for (QuestRecord &rec : m_rows) {
        for (int f = 0; f < kTextFields; ++f)
            field(rec, f) = m_texts.shared(text++);
        m_numbers.push_back({rec.ChainNo, rec.QuestNo, rec.Region});
    }
}

std::int16_t QuestTable::chainGroup(int r) const
{
    return chainGroupOf(numbers(r).ChainNo);
}

} // namespace pelko
