#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace pelko {

// Texts decoded into one buffer, one after another, each followed by a U+0000. The records'
// texts are views that share this buffer, so the texts are held once, and a keyword search is a
// scan of one buffer. Since a text may itself hold U+0000, a text's end is known from the
// starts, never from the terminator.
class QuestTexts
{
public:
    QStringView buffer() const { return m_buffer; }
    qsizetype start(qsizetype text) const { return m_starts[static_cast<std::size_t>(text)]; }
    // One past the text's last character, where its terminator stands.
    qsizetype end(qsizetype text) const
    {
        return qsizetype(m_starts[static_cast<std::size_t>(text) + 1]) - 1;
    }
    qsizetype textCount() const { return static_cast<qsizetype>(m_starts.size()) - 1; }
    // One text, as a view of the buffer.
    QStringView view(qsizetype text) const
    {
        return buffer().sliced(start(text), end(text) - start(text));
    }

    // Appends one text decoded from code page 932 straight into the buffer; false when a byte
    // or code of it became U+FFFD.
    bool appendAnsi(QByteArrayView bytes);
    // Room for this many characters, terminators included, and this many texts, so that
    // filling never moves the buffer; untouched room costs no memory.
    void reserve(qsizetype characters, qsizetype texts = 0);
    // Ends the filling: the buffer is cut to what was written. Called before the texts are read.
    void finish();

    // The text as a QString that shares the buffer (no copy): a copy of it kept after the table
    // has gone keeps the buffer alive, and changing it copies it first, as with any shared text.
    QString shared(qsizetype text) const;

private:
    char16_t *room(qsizetype characters);
    void close(qsizetype written);

    QString m_buffer;
    char16_t *m_filling = nullptr; // the buffer's characters while it is being filled
    qsizetype m_used = 0;          // while filling, the buffer's size is its room
    // Where each text starts, and one past the last: 32 bits hold every position of a buffer
    // filled from a database within the size limit, at half the room of qsizetype.
    std::vector<std::uint32_t> m_starts{0};
};

} // namespace pelko
