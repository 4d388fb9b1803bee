#include "QuestCatalog.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace pelko {
namespace {

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
        ucol_setAttribute(m_collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(m_collator.get(), UCOL_STRENGTH, UCOL_DEFAULT_STRENGTH, &status);
        ucol_setAttribute(m_collator.get(), UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
        ucol_setAttribute(m_collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    }

    int compare(QStringView a, QStringView b) const
    {
        if (!m_collator)
            return a.compare(b);
        return ucol_strcoll(m_collator.get(), chars(a), length(a), chars(b), length(b));
    }

    // Appends the sort key of a non-empty text, its terminating zero byte included.
    void appendKey(QStringView text, std::vector<std::uint8_t> &keys) const
    {
        const std::size_t at = keys.size();
        if (!m_collator) { // no ICU data: the UTF-16 units in three non-zero bytes each
            for (const QChar c : text) {
                const unsigned u = c.unicode();
                for (const unsigned part : {u >> 14, (u >> 7) & 0x7F, u & 0x7F})
                    keys.push_back(static_cast<std::uint8_t>(part + 1));
            }
            keys.push_back(0);
            return;
        }
        for (std::size_t room = 64 + 4 * static_cast<std::size_t>(text.size());;) {
            keys.resize(at + room);
            const auto written = static_cast<std::size_t>(
                ucol_getSortKey(m_collator.get(), chars(text), length(text), keys.data() + at,
                                static_cast<std::int32_t>(room)));
            if (written <= room) {
                keys.resize(at + written);
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
    std::uint32_t key; // where its key starts
    std::uint32_t keyLength;
    std::int16_t row;
};

} // namespace

int compareQuestNames(const QString &a, const QString &b)
{
    // An empty name comes before every other one, even a name made only of characters the
    // collation ignores.
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() ? (b.isEmpty() ? 0 : -1) : 1;
    return collator().compare(a, b);
}

QuestCatalog::QuestCatalog(QuestTable table) : m_table(std::move(table))
{
    const Collator &coll = collator();
    const int n = m_table.count();
    std::vector<std::uint8_t> keys;
    keys.reserve(static_cast<std::size_t>(n) * 32);
    std::vector<SortItem> items;
    items.reserve(static_cast<std::size_t>(n));
    for (int r = 1; r <= n; ++r) {
        const QStringView name = m_table.view(r, TextField::QuestName);
        const std::size_t at = keys.size();
        if (!name.isEmpty()) // an empty name keeps an empty key and sorts first
            coll.appendKey(name, keys);
        items.push_back({{0, 0},
                         static_cast<std::uint32_t>(at),
                         static_cast<std::uint32_t>(keys.size() - at),
                         static_cast<std::int16_t>(r)});
    }
    // Keys hold no zero byte before their terminator, so the zero-padded first bytes of a key
    // order as the key does, and equal prefixes leave the rest to compare.
    for (SortItem &item : items) {
        const std::uint8_t *key = keys.data() + item.key;
        for (std::uint32_t i = 0; i < kPrefixBytes; ++i)
            item.prefix[i / 8] = item.prefix[i / 8] << 8 | (i < item.keyLength ? key[i] : 0);
    }
    std::sort(items.begin(), items.end(), [&keys](const SortItem &a, const SortItem &b) {
        if (a.prefix[0] != b.prefix[0])
            return a.prefix[0] < b.prefix[0];
        if (a.prefix[1] != b.prefix[1])
            return a.prefix[1] < b.prefix[1];
        const std::uint32_t common = std::min(a.keyLength, b.keyLength);
        if (common > kPrefixBytes) {
            const int order =
                std::memcmp(keys.data() + a.key + kPrefixBytes, keys.data() + b.key + kPrefixBytes,
                            common - kPrefixBytes);
            if (order != 0)
                return order < 0;
        }
        // Equal names (and names the collation holds equal) stay in row order, next to each
        // other, as a sorted list control places them.
        return a.row < b.row;
    });
    m_sortedRows.reserve(items.size());
    for (const SortItem &item : items)
        m_sortedRows.push_back(item.row);
}

} // namespace pelko
