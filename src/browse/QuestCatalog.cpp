#include "QuestCatalog.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace pelko {

// Sort keys one after another in one buffer, each written straight into it: the buffer grows in
// large steps, never a key at a time, and room not written to is never touched (a key may need
// four bytes a character, and a name may be millions of characters long).
class KeyArena
{
public:
    explicit KeyArena(std::size_t expected) { grow(expected); }

    // Room for a key of up to this many bytes after the keys written so far.
    std::uint8_t *room(std::size_t bytes)
    {
        if (m_used + bytes > m_size)
            grow(std::max(m_size * 2, m_used + bytes));
        return m_bytes.get() + m_used;
    }
    void commit(std::size_t bytes) { m_used += bytes; }
    std::size_t size() const { return m_used; }
    const std::uint8_t *at(std::size_t offset) const { return m_bytes.get() + offset; }

private:
    void grow(std::size_t size)
    {
        std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size]); // left uninitialised
        if (m_used > 0)
            std::memcpy(bytes.get(), m_bytes.get(), m_used);
        m_bytes = std::move(bytes);
        m_size = size;
    }

    std::unique_ptr<std::uint8_t[]> m_bytes;
    std::size_t m_size = 0;
    std::size_t m_used = 0;
};

// The Japanese collation, set up as QCollator sets up ICU for QLocale(Japanese, Japan) with
// case-sensitive comparison, so that the order is the one a sorted list control of the
// Japanese desktop gives. ICU is used directly because its sort keys can then be written into
// one buffer and compared as plain bytes: the sort of a whole table takes a fraction of the
// time of one QCollatorSortKey object per name.
class Collator
{
public:
    Collator()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_collator.reset(ucol_open("ja_JP", &status));
        if (U_FAILURE(status) || !m_collator) {
            m_collator.reset();
            return;
        }
        // QCollator normalizes; the names need not be: every character code page 932 decodes to
        // begins with no combining mark, so any text of them is already in the form ICU
        // collates correctly unnormalized (FCD), and the order is the same at 8 % less work.
        ucol_setAttribute(m_collator.get(), UCOL_NORMALIZATION_MODE, UCOL_OFF, &status);
        ucol_setAttribute(m_collator.get(), UCOL_STRENGTH, UCOL_DEFAULT_STRENGTH, &status);
        ucol_setAttribute(m_collator.get(), UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
        ucol_setAttribute(m_collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    }

    // A collator of the same set-up for another thread: ICU's collators are not to be shared
    // between threads.
    Collator(const Collator &other)
    {
        if (!other.m_collator)
            return;
        UErrorCode status = U_ZERO_ERROR;
        m_collator.reset(ucol_clone(other.m_collator.get(), &status));
        if (U_FAILURE(status))
            m_collator.reset(); // collates by UTF-16 units, as without ICU data
    }
    Collator &operator=(const Collator &) = delete;

    bool usable() const { return m_collator != nullptr; }

    // Appends the sort key of a non-empty text, its terminating zero byte included.
    void appendKey(QStringView text, KeyArena &keys) const
    {
        if (!m_collator) { // no ICU data: the UTF-16 units in three non-zero bytes each
            std::uint8_t *out = keys.room(3 * static_cast<std::size_t>(text.size()) + 1);
            for (const QChar c : text) {
                const unsigned u = c.unicode();
                for (const unsigned part : {u >> 14, (u >> 7) & 0x7F, u & 0x7F})
                    *out++ = static_cast<std::uint8_t>(part + 1);
            }
            *out = 0;
            keys.commit(3 * static_cast<std::size_t>(text.size()) + 1);
            return;
        }
        for (std::size_t room = 64 + 4 * static_cast<std::size_t>(text.size());;) {
            const auto written = static_cast<std::size_t>(
                ucol_getSortKey(m_collator.get(), chars(text), length(text), keys.room(room),
                                static_cast<std::int32_t>(room)));
            if (written <= room) {
                keys.commit(written);
                return;
            }
            room = written;
        }
    }

private:
    static const UChar *chars(QStringView s) { return reinterpret_cast<const UChar *>(s.utf16()); }
    static std::int32_t length(QStringView s) { return static_cast<std::int32_t>(s.size()); }

    struct Close {
        void operator()(UCollator *c) const { ucol_close(c); }
    };
    std::unique_ptr<UCollator, Close> m_collator;
};

namespace {

const Collator &collator()
{
    static const Collator japanese;
    return japanese;
}

// A row in the sort: the first sixteen bytes of its key as two numbers, which decide most
// comparisons (names often share their first word, so eight bytes would leave many ties).
constexpr std::uint32_t kPrefixBytes = 16;

struct SortItem {
    std::uint64_t prefix[2];
    const std::uint8_t *key;
    std::uint32_t keyLength;
    std::int16_t row;

    bool operator<(const SortItem &b) const
    {
        if (prefix[0] != b.prefix[0])
            return prefix[0] < b.prefix[0];
        if (prefix[1] != b.prefix[1])
            return prefix[1] < b.prefix[1];
        const std::uint32_t common = std::min(keyLength, b.keyLength);
        if (common > kPrefixBytes) {
            const int order =
                std::memcmp(key + kPrefixBytes, b.key + kPrefixBytes, common - kPrefixBytes);
            if (order != 0)
                return order < 0;
        }
        // Equal names (and names the collation holds equal) stay in row order, next to each
        // other, as a sorted list control places them.
        return row < b.row;
    }
};

} // namespace

// The names of a run of rows, seen in the names of the table being read, and once collated
// their sort keys and items, sorted.
struct QuestCatalogBuilder::Piece {
    int firstRow = 1;
    std::vector<QStringView> names;

    KeyArena keys{0};
    std::vector<SortItem> items;

    void collate(const Collator &coll)
    {
        keys = KeyArena(names.size() * 32);
        std::vector<std::uint32_t> starts;
        starts.reserve(names.size() + 1);
        for (const QStringView name : names) {
            starts.push_back(static_cast<std::uint32_t>(keys.size()));
            if (!name.isEmpty()) // an empty name keeps an empty key and sorts first
                coll.appendKey(name, keys);
        }
        starts.push_back(static_cast<std::uint32_t>(keys.size()));
        // The keys no longer move: items may point into them. Keys hold no zero byte before
        // their terminator, so the zero-padded first bytes of a key order as the key does, and
        // equal prefixes leave the rest to compare.
        items.reserve(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            SortItem item{{0, 0},
                          keys.at(starts[i]),
                          starts[i + 1] - starts[i],
                          static_cast<std::int16_t>(firstRow + static_cast<int>(i))};
            for (std::uint32_t b = 0; b < kPrefixBytes; ++b)
                item.prefix[b / 8] =
                    item.prefix[b / 8] << 8 | (b < item.keyLength ? item.key[b] : 0);
            items.push_back(item);
        }
        std::sort(items.begin(), items.end());
        names = {};
    }
};

QuestCatalogBuilder::QuestCatalogBuilder(int pieceRows) : m_pieceRows(std::max(pieceRows, 1))
{
    // Opening a collator makes ICU look up the process's default locale once, through
    // setlocale(), which must not run while another thread sets the locale, as QApplication
    // does while the load runs. The builder is made before the loading thread starts, so the
    // look-up is done here.
    static const bool defaultLocaleKnown = uloc_getDefault() != nullptr;
    Q_UNUSED(defaultLocaleKnown);
}
QuestCatalogBuilder::~QuestCatalogBuilder() = default;

void QuestCatalogBuilder::cutPieces(const QuestTexts &names, int rowCount, bool all)
{
    while (rowCount - m_rowsHandedOver >= m_pieceRows || (all && rowCount > m_rowsHandedOver)) {
        Piece piece;
        piece.firstRow = m_rowsHandedOver + 1;
        const int last = std::min(m_rowsHandedOver + m_pieceRows, rowCount);
        piece.names.reserve(static_cast<std::size_t>(last - m_rowsHandedOver));
        for (int r = piece.firstRow; r <= last; ++r)
            piece.names.push_back(names.view(r - 1));
        m_rowsHandedOver = last;
        const std::lock_guard lock(m_mutex);
        m_pieces.push_back(std::move(piece));
        m_pieceAdded.notify_one();
    }
}

void QuestCatalogBuilder::rowsRead(const QuestTexts &names, int rowCount)
{
    cutPieces(names, rowCount, false);
}

void QuestCatalogBuilder::close(const QuestTexts &names, int rowCount)
{
    cutPieces(names, rowCount, true);
    const std::lock_guard lock(m_mutex);
    m_closed = true;
    m_pieceAdded.notify_all();
}

void QuestCatalogBuilder::abandon()
{
    std::unique_lock lock(m_mutex);
    m_closed = m_abandoned = true;
    m_pieceAdded.notify_all();
    // A piece being collated reads the names where the reader put them, which its caller is
    // about to free.
    m_pieceDone.wait(lock, [this] { return m_collating == 0; });
}

// A thread's time inside a piece it took, which abandon() waits out.
class QuestCatalogBuilder::Collating
{
public:
    explicit Collating(QuestCatalogBuilder &builder) : m_builder(builder) {}
    ~Collating()
    {
        const std::lock_guard lock(m_builder.m_mutex);
        if (--m_builder.m_collating == 0)
            m_builder.m_pieceDone.notify_all();
    }
    Collating(const Collating &) = delete;
    Collating &operator=(const Collating &) = delete;

private:
    QuestCatalogBuilder &m_builder;
};

// A piece no thread has taken yet, waiting for the reader to hand one over; nullptr once all
// are taken and no more will come, or the table is abandoned. The caller is then inside the
// piece until its Collating ends.
QuestCatalogBuilder::Piece *QuestCatalogBuilder::nextPiece()
{
    std::unique_lock lock(m_mutex);
    m_pieceAdded.wait(lock, [this] { return m_taken < m_pieces.size() || m_closed; });
    if (m_abandoned || m_taken == m_pieces.size())
        return nullptr;
    ++m_collating;
    return &m_pieces[m_taken++];
}

void QuestCatalogBuilder::collate(const Collator &coll)
{
    while (Piece *piece = nextPiece()) {
        const Collating inside(*this);
        piece->collate(coll);
    }
}

void QuestCatalogBuilder::work()
{
    const Collator own(collator());
    // Without a collator of its own (out of memory) this thread leaves the pieces to finish().
    if (own.usable() || !collator().usable())
        collate(own);
}

QuestCatalog QuestCatalogBuilder::finish(QuestTable table)
{
    collate(collator()); // whatever no thread has taken; the other threads are done
    // The sorted pieces are merged in one pass, straight into the rows: a heap holds each
    // piece's next item, the first of them on top. No run of the merge is ever stored.
    struct Head {
        const SortItem *next;
        const SortItem *end;
    };
    std::vector<Head> heads;
    std::size_t rows = 0;
    for (const Piece &piece : m_pieces) {
        rows += piece.items.size();
        if (!piece.items.empty())
            heads.push_back({piece.items.data(), piece.items.data() + piece.items.size()});
    }
    // Lets the head at i sink below every head whose next item comes before its own.
    const auto sink = [&heads](std::size_t i) {
        for (const std::size_t n = heads.size();;) {
            std::size_t first = 2 * i + 1;
            if (first >= n)
                return;
            if (first + 1 < n && *heads[first + 1].next < *heads[first].next)
                ++first;
            if (!(*heads[first].next < *heads[i].next))
                return;
            std::swap(heads[i], heads[first]);
            i = first;
        }
    };
    for (std::size_t i = heads.size() / 2; i-- > 0;)
        sink(i);
    QuestCatalog catalog;
    catalog.m_sortedRows.reserve(rows);
    while (!heads.empty()) {
        Head &top = heads.front();
        catalog.m_sortedRows.push_back(top.next->row);
        if (++top.next == top.end) {
            top = heads.back();
            heads.pop_back();
        }
        sink(0);
    }
    m_pieces.clear();
    catalog.m_table = std::move(table);
    return catalog;
}

} // namespace pelko
