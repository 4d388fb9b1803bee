// Pelko.dat: any bytes either load or fail cleanly, a loaded table keeps the shape the rest of
// the program relies on, and the quest list and the detail pane can be built from it.

#include "ClearStatus.h"
#include "FuzzCheck.h"
#include "KeywordSearch.h"
#include "QuestCatalog.h"
#include "QuestDatabase.h"
#include "QuestDetail.h"
#include "QuestFilter.h"
#include "QuestListBuilder.h"
#include "RegionTable.h"
#include "ShiftJis.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

using pelko::fuzz::check;

namespace {

// Written to, so that reading every field cannot be optimised away.
volatile std::size_t g_sink = 0;

void touch(const QString &text)
{
    g_sink = g_sink + qHash(text) + static_cast<std::size_t>(text.size());
}

void touch(const pelko::QuestRecord &rec)
{
    g_sink = g_sink + rec.Region + static_cast<std::uint16_t>(rec.ChainNo)
             + static_cast<std::uint16_t>(rec.QuestNo);
    touch(rec.QuestName);
    touch(rec.Client);
    touch(rec.Process);
    touch(rec.Reward1);
    touch(rec.Reward2);
}

// The code page decoder gives at most one UTF-16 unit per byte and never makes an ASCII
// character out of the second byte of a double-byte one (a trail byte 0x5C is no backslash).
void checkDecoder(QByteArrayView bytes)
{
    const QString text = pelko::decodeAnsi(bytes);
    check(text.size() <= bytes.size(), "decoding never lengthens a text");
    std::array<qsizetype, 128> fromBytes{};
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) < 0x80)
            ++fromBytes[static_cast<unsigned char>(b)];
    }
    std::array<qsizetype, 128> inText{};
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            ++inText[c.unicode()];
    }
    for (std::size_t c = 0; c < inText.size(); ++c)
        check(inText[c] <= fromBytes[c], "every ASCII character comes from an ASCII byte");
    touch(text);
}

void checkSources(const pelko::QuestDatabase &db)
{
    int previousLast = 1;
    for (const pelko::RecordSource &source : db.sources) {
        check(source.firstLine >= 1, "a record starts on line 1 or later");
        check(source.firstLine <= source.lastLine, "a record ends on or after its first line");
        check(source.firstLine >= previousLast, "records follow each other in the file");
        previousLast = source.lastLine;
    }
    for (const auto &[line, field] : db.invalidTextFields) {
        check(line >= 1, "an invalid text lies on line 1 or later");
        check(field >= 5 && field <= 9, "only the five text fields hold text");
    }
}

void checkFailure(const pelko::QuestDatabase &db)
{
    const pelko::DatabaseFailure &failure = *db.failure;
    check(failure.line >= 1, "a failure names line 1 or later");
    check(failure.field >= 1 && failure.field <= 9, "a failure names one of the nine fields");
    check(db.table.count() == 0, "a database that fails to load gives no quests");
}

void checkLoaded(const pelko::QuestDatabase &db, qsizetype size)
{
    const pelko::QuestTable &table = db.table;
    check(table.count() >= 0 && table.count() <= pelko::kMaxQuests,
          "a loaded database holds 0 to 32766 quests");
    check(db.sources.size() == static_cast<std::size_t>(table.count()) + 1,
          "one source per quest and one for the end record");
    check(db.endOffset > 0 && db.endOffset <= size, "the end record lies inside the file");
    for (int r = 1; r <= table.count(); ++r) {
        check(table.isRow(r), "every quest row is a row");
        check(table.row(r).Region != 99, "only the end record has region 99");
        touch(table.row(r));
    }
    check(!table.isRow(0) && !table.isRow(table.count() + 1), "rows run from 1 to the count");
}

bool sameRecord(const pelko::QuestRecord &a, const pelko::QuestRecord &b)
{
    return a.Region == b.Region && a.ChainNo == b.ChainNo && a.QuestNo == b.QuestNo
           && a.QuestName == b.QuestName && a.Client == b.Client && a.Process == b.Process
           && a.Reward1 == b.Reward1 && a.Reward2 == b.Reward2;
}

// Nothing after the end record is read: the file cut just after it loads the same.
void checkEndIsFinal(const pelko::QuestDatabase &db, QByteArrayView bytes)
{
    const pelko::QuestDatabase cut = pelko::parseQuestDatabase(bytes.first(db.endOffset));
    check(cut.ok(), "the file cut after its end record still loads");
    check(cut.endOffset == db.endOffset, "the cut file ends where its end record ends");
    check(cut.table.count() == db.table.count(), "the cut file holds the same quests");
    for (int r = 1; r <= db.table.count(); ++r)
        check(sameRecord(cut.table.row(r), db.table.row(r)), "the cut file reads the same rows");
    check(cut.sources.size() == db.sources.size(), "the cut file has a source per record");
    for (std::size_t i = 0; i < db.sources.size(); ++i) {
        const pelko::RecordSource &a = cut.sources[i];
        const pelko::RecordSource &b = db.sources[i];
        check(a.firstLine == b.firstLine && a.lastLine == b.lastLine && a.endsLine == b.endsLine,
              "the cut file reads its records from the same lines");
    }
    check(cut.invalidTextFields == db.invalidTextFields,
          "the cut file finds the same invalid texts");
}

// Qt's own Japanese collation, which the list's order must agree with; an empty name comes
// before every other one, even a name made only of characters the collation ignores.
int compareNames(const QString &a, const QString &b)
{
    static const QCollator japanese(QLocale(QLocale::Japanese, QLocale::Japan));
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() ? (b.isEmpty() ? 0 : -1) : 1;
    return japanese.compare(a, b);
}

// A row matches when the keyword occurs in its name, content or reward: the plain search the
// one-buffer search must agree with.
bool rowContainsKeyword(const pelko::QuestRecord &rec, const QString &keyword)
{
    return rec.QuestName.contains(keyword) || rec.Process.contains(keyword)
           || rec.Reward1.contains(keyword);
}

// The flat list is in the collation order of the names, and quests of equal names stand in row
// order, as a sorted list control would place them.
void checkNameOrder(const pelko::QuestTable &table, const std::vector<pelko::ListEntry> &entries)
{
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const int order = compareNames(table.row(entries[i - 1].row).QuestName,
                                       table.row(entries[i].row).QuestName);
        check(order <= 0, "the flat list is in name order");
        check(order < 0 || entries[i - 1].row < entries[i].row, "equal names stay in row order");
    }
}

// The quest list of all regions and all progress values lists every quest once, in both
// presentations.
void checkLists(const pelko::QuestCatalog &catalog, const pelko::ClearStatusTable &status)
{
    const int count = catalog.table().count();
    const pelko::FilterSelection all{pelko::kAllRegions, 0};
    const pelko::QuestFilter filter(catalog.table(), status, all);
    for (const auto presentation : {pelko::ListPresentation::Flat, pelko::ListPresentation::Tree}) {
        pelko::QuestListBuilder builder(catalog, filter, presentation);
        builder.addAllRows();
        std::vector<pelko::ListEntry> entries = builder.takeEntries();
        check(entries.size() == static_cast<std::size_t>(count), "every quest is listed");
        std::vector<std::int16_t> rows;
        for (const pelko::ListEntry &entry : entries) {
            check(catalog.table().isRow(entry.row), "a list entry names a quest row");
            check(pelko::entryText(catalog.table(), entry)
                      .endsWith(catalog.table().row(entry.row).QuestName),
                  "a list entry shows its quest's name");
            rows.push_back(entry.row);
        }
        if (presentation == pelko::ListPresentation::Flat)
            checkNameOrder(catalog.table(), entries);
        std::sort(rows.begin(), rows.end());
        check(std::adjacent_find(rows.begin(), rows.end()) == rows.end(),
              "no quest is listed twice");
    }

    // One region and the cleared quests only: every listed quest has that region's name and a
    // progress of 1.
    const std::uint8_t code = catalog.table().numbers(1).Region;
    const QString region = pelko::regionName(code);
    const pelko::FilterSelection narrow{code, 1 + pelko::Cleared};
    const pelko::QuestFilter narrowFilter(catalog.table(), status, narrow);
    pelko::QuestListBuilder tree(catalog, narrowFilter, pelko::ListPresentation::Tree);
    tree.addAllRows();
    const std::vector<pelko::ListEntry> narrowed = tree.takeEntries();
    check(!region.isEmpty() || narrowed.empty(), "a region code without a name lists nothing");
    for (const pelko::ListEntry &entry : narrowed) {
        const pelko::QuestRecord &rec = catalog.table().row(entry.row);
        check(pelko::regionName(rec.Region) == region, "a listed quest lies in the region");
        check(status.progressOf(rec.QuestNo) == std::optional<std::uint8_t>(pelko::Cleared),
              "a listed quest is cleared");
    }
}

// Some progress for the quests that have an entry, taken from their chain numbers.
pelko::ClearStatusTable progressFor(const pelko::QuestTable &table)
{
    pelko::ClearStatusTable status(table.count());
    for (int r = 1; r <= table.count(); ++r) {
        const pelko::QuestRecord &rec = table.row(r);
        status.set(rec.QuestNo, static_cast<std::uint8_t>(rec.ChainNo & 3));
    }
    return status;
}

void checkDetails(const pelko::QuestTable &table)
{
    const QString escape = QStringLiteral("\\n");
    for (int r = 1; r <= table.count(); ++r) {
        const pelko::QuestDetail detail = pelko::detailTexts(table, r);
        check(!detail.process.contains(escape) && !detail.reward1.contains(escape)
                  && !detail.reward2.contains(escape),
              "the detail pane shows no line-break escape");
        touch(detail.client);
        touch(detail.process);
    }
    // The search over the one text buffer finds what each row's own texts hold, for keywords
    // taken from the file's texts (which may hold U+0000, as the buffer's terminators do).
    const pelko::QuestRecord first = table.row(1);
    for (const QString &keyword : {first.QuestName, first.Process.right(3), first.Reward1.left(2),
                                   first.Client + QChar(0) + first.Process.left(1)}) {
        const std::vector<bool> found = pelko::rowsContainingKeyword(table, keyword);
        for (int r = 1; r <= table.count(); ++r)
            check(found[static_cast<std::size_t>(r)] == rowContainsKeyword(table.row(r), keyword),
                  "the buffer search finds what the row holds");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    checkDecoder(bytes);
    const pelko::QuestDatabase db = pelko::parseQuestDatabase(bytes);
    checkSources(db);
    if (!db.ok()) {
        checkFailure(db);
        return 0;
    }
    checkLoaded(db, bytes.size());
    checkEndIsFinal(db, bytes);
    if (db.table.count() == 0)
        return 0;

    pelko::QuestCatalogBuilder builder; // the whole table's names handed over at once
    builder.close(db.table.names(), db.table.count());
    const pelko::QuestCatalog catalog = builder.finish(db.table);
    check(catalog.table().count() == db.table.count(), "the catalog keeps every quest");
    check(catalog.sortedRows().size() == static_cast<std::size_t>(db.table.count()),
          "the sorted order holds every quest");
    const pelko::ClearStatusTable status = progressFor(catalog.table());
    checkLists(catalog, status);
    checkDetails(catalog.table());
    return 0;
}
