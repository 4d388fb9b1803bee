#include "KeywordSearch.h"

#include <algorithm>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define PELKO_SCAN_AVX2 1
#endif

namespace pelko {
namespace {

#ifdef PELKO_SCAN_AVX2
// Thirty-two characters a step. QStringView::indexOf(QChar) takes eight a step in a Qt built for
// the x86-64 baseline; over the 11 MB of text of a full database this is two to three times
// faster, and it is a search's main cost.
__attribute__((target("avx2"))) qsizetype indexOfAvx2(QStringView text, char16_t c, qsizetype from)
{
    const char16_t *const s = text.utf16();
    const qsizetype n = text.size();
    const __m256i needle = _mm256_set1_epi16(static_cast<short>(c));
    qsizetype i = from;
    for (; i + 32 <= n; i += 32) {
        const auto *p = reinterpret_cast<const __m256i *>(s + i);
        const auto low = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi16(_mm256_loadu_si256(p), needle)));
        const auto high = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi16(_mm256_loadu_si256(p + 1), needle)));
        if (low != 0)
            return i + __builtin_ctz(low) / 2; // two mask bits a character
        if (high != 0)
            return i + 16 + __builtin_ctz(high) / 2;
    }
    for (; i < n; ++i) {
        if (s[i] == c)
            return i;
    }
    return -1;
}
#endif

// The first position at or after from that holds c, or -1.
qsizetype indexOfChar(QStringView text, QChar c, qsizetype from)
{
#ifdef PELKO_SCAN_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        return indexOfAvx2(text, c.unicode(), from);
#endif
    return text.indexOf(c, from);
}

// Marks the rows whose searched texts hold the keyword, perRow texts a row, in one scan of the
// texts' buffer for the keyword's first character. Rows found already are passed over.
template <class Searched>
void markRowsContaining(const QuestTexts &texts, int perRow, Searched searched, QStringView keyword,
                        std::vector<bool> &found)
{
    const QStringView buffer = texts.buffer();
    const QChar first = keyword.front();
    const qsizetype length = keyword.size();
    qsizetype text = 0; // the text that holds the candidate
    for (qsizetype from = 0;;) {
        const qsizetype at = indexOfChar(buffer, first, from);
        if (at < 0)
            break;
        while (texts.end(text) < at)
            ++text;
        const qsizetype row = text / perRow; // from 0
        const qsizetype nextRow = texts.start((row + 1) * perRow);
        // A match must lie within one text: none can run into the terminator and on into the
        // next text, whatever the keyword holds (a text may hold U+0000 itself).
        if (found[static_cast<std::size_t>(row) + 1]) {
            from = nextRow;
        } else if (!searched(text % perRow) || at + length > texts.end(text)) {
            from = texts.start(text + 1);
        } else if (buffer.sliced(at, length) == keyword) {
            found[static_cast<std::size_t>(row) + 1] = true;
            from = nextRow;
        } else {
            from = at + 1;
        }
    }
}

} // namespace

std::vector<bool> rowsContainingKeyword(const QuestTable &table, QStringView keyword)
{
    const int rows = table.count();
    std::vector<bool> found(static_cast<std::size_t>(rows) + 1, false);
    if (keyword.isEmpty()) {
        std::fill(found.begin() + 1, found.end(), true);
        return found;
    }
    // The names, then the contents and rewards; the client and the replay reward are not
    // searched.
    markRowsContaining(
        table.names(), 1, [](qsizetype) { return true; }, keyword, found);
    const auto searchedDetail = [](qsizetype field) {
        return field == QuestTable::detailIndex(1, TextField::Process)
               || field == QuestTable::detailIndex(1, TextField::Reward1);
    };
    markRowsContaining(table.details(), DetailTexts::kPerRow, searchedDetail, keyword, found);
    return found;
}

} // namespace pelko
