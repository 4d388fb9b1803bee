#include "DetailTexts.h"

#include "SequentialReader.h"

#include <algorithm>

namespace pelko {
DetailTexts::DetailTexts(QuestTexts decoded) : m_done(true), m_texts(std::move(decoded))
{
    m_texts.finish();
}

DetailTexts::DetailTexts(QByteArray bytes, std::vector<std::uint32_t> rowOffsets)
    : m_bytes(std::move(bytes)), m_rowOffsets(std::move(rowOffsets))
{
    // At most one character a byte, and a terminator a text: the buffer never moves.
    const auto texts = static_cast<qsizetype>(m_rowOffsets.size()) * kPerRow;
    m_texts.reserve(m_bytes.size() + texts, texts);
    if (m_rowOffsets.empty()) {
        m_texts.finish();
        m_bytes = QByteArray();
        m_done = true;
    }
}

const QuestTexts &DetailTexts::texts() const
{
    if (!m_done.load(std::memory_order_acquire))
        decodeLeft(nullptr, SIZE_MAX, 1);
    return m_texts;
}

void DetailTexts::decode(const std::atomic<bool> &stop, std::size_t pieceRows,
                         std::size_t pieces) const
{
    if (!m_done.load(std::memory_order_acquire) && pieces > 0)
        decodeLeft(&stop, std::max<std::size_t>(pieceRows, 1), pieces);
}

std::size_t DetailTexts::decodedRows() const
{
    const std::lock_guard lock(m_mutex);
    return m_done.load(std::memory_order_relaxed) ? m_texts.textCount() / kPerRow : m_next;
}

void DetailTexts::decodeLeft(const std::atomic<bool> *stop, std::size_t pieceRows,
                             std::size_t pieces) const
{
    QByteArray decoded; // the file's bytes once they are no longer needed, freed outside the lock
    std::unique_lock lock(m_mutex);
    if (m_decoding && !stop)
        m_wanted = true;
    m_handedBack.wait(lock, [this] { return !m_decoding; });
    if (m_done.load(std::memory_order_relaxed))
        return;
    if (stop && m_wanted)
        return; // a reader is about to take over
    m_wanted = false;
    m_decoding = true;
    std::size_t next = m_next;
    lock.unlock();

    const std::size_t count = m_rowOffsets.size();
    for (; pieces > 0 && next < count
           && !(stop && (stop->load(std::memory_order_relaxed) || m_wanted.load()));
         --pieces) {
        const std::size_t last = next + std::min(pieceRows, count - next);
        for (; next < last; ++next) {
            // The reader takes the fields exactly as it did when it read the row first.
            SequentialReader in(m_bytes, m_rowOffsets[next]);
            for (int field = 0; field < kPerRow; ++field)
                m_texts.appendAnsi(in.readRawText().value_or(QByteArrayView()));
        }
    }
    if (next == count) {
        m_texts.finish();
        decoded.swap(m_bytes);
        m_rowOffsets = {};
    }

    lock.lock();
    m_next = next;
    m_decoding = false;
    if (next == count)
        m_done.store(true, std::memory_order_release);
    m_handedBack.notify_all();
}

} // namespace pelko
