#pragma once

#include "QuestTexts.h"

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace pelko {

// The texts after each row's name (Client, Process, Reward1, Reward2, in file order, kPerRow a
// row): most of a database's bytes, read only by the detail pane and the keyword search. They
// may be left undecoded when the table is handed over, so that the window shows without
// waiting for them: a thread of their own decodes them meanwhile, and a reader that comes
// first decodes them itself, or waits for the thread that is at it.
class DetailTexts
{
public:
    static constexpr int kPerRow = 4;

    // Texts decoded already.
    explicit DetailTexts(QuestTexts decoded);
    // Texts to decode from the file's bytes, which are kept until then: each row's kPerRow
    // fields as the reader takes them from where the row's name ended.
    DetailTexts(QByteArray bytes, std::vector<std::uint32_t> rowOffsets);
    DetailTexts(const DetailTexts &) = delete;
    DetailTexts &operator=(const DetailTexts &) = delete;

    // The decoded texts. Any thread may ask; the first one decodes what is left, and one that
    // asks while another thread decodes waits for it.
    const QuestTexts &texts() const;
    // Decodes ahead of need, pieceRows rows at a time, unless that is done or another thread is
    // at it. Stops between two pieces once stop is set, once a reader asks for the texts (the
    // reader, which may run at a higher priority, then decodes the rest itself), or after the
    // given number of pieces, which leaves the rest to the first reader.
    static constexpr std::size_t kPieceRows = 1024;
    void decode(const std::atomic<bool> &stop, std::size_t pieceRows = kPieceRows,
                std::size_t pieces = SIZE_MAX) const;
    // The rows decoded so far, once the thread at it has handed them over.
    std::size_t decodedRows() const;

private:
    void decodeLeft(const std::atomic<bool> *stop, std::size_t pieceRows, std::size_t pieces) const;

    // The texts, and where the decoding stands; the thread that holds m_decoding alone writes
    // the texts until it hands it back.
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_handedBack;
    mutable bool m_decoding = false;
    mutable std::atomic<bool> m_done{false};
    mutable std::atomic<bool> m_wanted{false}; // a reader waits for the decoding thread
    mutable std::size_t m_next = 0;            // the first row not decoded
    mutable QByteArray m_bytes;
    mutable std::vector<std::uint32_t> m_rowOffsets;
    mutable QuestTexts m_texts;
};

} // namespace pelko
