#include "QuestTexts.h"

#include "ShiftJis.h"

#include <algorithm>

namespace pelko {

void QuestTexts::reserve(qsizetype characters, qsizetype texts)
{
    m_starts.reserve(static_cast<std::size_t>(texts) + 1);
    m_buffer.resize(std::max(characters, m_used));
    m_filling = reinterpret_cast<char16_t *>(m_buffer.data());
}

// Room for a text of up to `characters` characters and its terminator, at the end of what was
// written.
char16_t *QuestTexts::room(qsizetype characters)
{
    if (m_used + characters + 1 > m_buffer.size())
        reserve(std::max(m_buffer.size() * 2, m_used + characters + 1));
    return m_filling + m_used;
}

void QuestTexts::close(qsizetype written)
{
    m_filling[m_used + written] = 0;
    m_used += written + 1;
    m_starts.push_back(static_cast<std::uint32_t>(m_used));
}

bool QuestTexts::appendAnsi(QByteArrayView bytes)
{
    if (bytes.isEmpty()) {
        close(0);
        return true;
    }
    bool valid = true;
    close(decodeAnsi(bytes, room(bytes.size()), valid));
    return valid;
}

void QuestTexts::finish()
{
    m_buffer.resize(m_used);
    m_filling = nullptr;
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

} // namespace pelko
