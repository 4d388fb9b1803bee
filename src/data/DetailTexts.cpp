#include "DetailTexts.h"

#include <algorithm>

namespace pelko {
namespace {

// Texts decoded between two looks at the stop flag: about a third of a megabyte of a full
// database, a millisecond's work.
constexpr std::size_t kPieceTexts = 4096;

} // namespace

DetailTexts::DetailTexts(QuestTexts decoded) : m_done(true), m_texts(std::move(decoded))
{
    m_texts.finish();
}

DetailTexts::DetailTexts(QByteArray bytes, std::vector<TextSlice> slices)
    : m_bytes(std::move(bytes)), m_slices(std::move(slices))
{
    // At most one character a byte, and a terminator a text: the buffer never moves.
    qsizetype characters = 0;
    for (const TextSlice &slice : m_slices)
        characters += qsizetype(slice.size) + 1;
    m_texts.reserve(characters, static_cast<qsizetype>(m_slices.size()));
    if (m_slices.empty()) {
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
    m_handedBack.wait(lock, [this] { return !m_decoding; });
    if (m_done.load(std::memory_order_relaxed))
        return;
    m_decoding = true;
    std::size_t next = m_next;
    lock.unlock();

    const std::size_t count = m_slices.size();
    while (next < count && !(stop && stop->load(std::memory_order_relaxed))) {
        const std::size_t last = std::min(next + kPieceTexts, count);
        for (; next < last; ++next) {
            const TextSlice &slice = m_slices[next];
            m_texts.appendAnsi(QByteArrayView(m_bytes).sliced(slice.offset, slice.size));
        }
    }
    if (next == count) {
        m_texts.finish();
        decoded.swap(m_bytes);
        m_slices = {};
    }

    lock.lock();
    m_next = next;
    m_decoding = false;
    if (next == count)
        m_done.store(true, std::memory_order_release);
    m_handedBack.notify_all();
}

} // namespace pelko
