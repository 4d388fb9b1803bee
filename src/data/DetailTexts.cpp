#include "DetailTexts.h"

#include "SequentialReader.h"

#include <algorithm>

namespace pelko {
namespace {

// Rows decoded between two looks at the stop flag: about a third of a megabyte of a full
// database, a millisecond's work.
constexpr std::size_t kPieceRows = 1024;

} // namespace

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
        decodeLeft(nullptr);
    return m_texts;
}

void DetailTexts::decode(const std::atomic<bool> &stop) const
{
    if (!m_done.load(std::memory_order_acquire))
        decodeLeft(&stop);
}

void DetailTexts::decodeLeft(const std::atomic<bool> *stop) const
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
    while (next < count && !(stop && (stop->load(std::memory_order_relaxed) || m_wanted.load()))) {
        const std::size_t last = std::min(next + kPieceRows, count);
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
