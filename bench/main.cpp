// Times what a player waits for at the format's limit of quests: every list rebuild from the
// selectors and the search up to the painted list box, the load, the progress save and the
// memory held once loaded; and, in the same run, the same list filled by one sorted insertion
// per name into a QListWidget, the way a classic sorted list control fills itself.
//
// Run on the offscreen platform: QT_QPA_PLATFORM=offscreen build/bench/pelko-bench
#include "ClearStatus.h"
#include "FileStore.h"
#include "KeywordSearch.h"
#include "LargestRecord.h"
#include "LiteralSortedList.h"
#include "Measure.h"
#include "QuestCatalog.h"
#include "QuestDatabase.h"
#include "QuestDatabaseGenerator.h"
#include "QuestFilter.h"
#include "QuestListBuilder.h"
#include "RegionTable.h"
#include "ResidentMemory.h"
#include "toolkit/ListBox.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QListWidget>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <optional>

namespace pelko::bench {
namespace {

constexpr int kRebuildRuns = 25;
constexpr int kLiteralRuns = 5;
constexpr int kLoadRuns = 9;
constexpr int kSaveRuns = 25;
constexpr double kRebuildGoalMs = 10.0;
constexpr double kSpeedupGoal = 50.0;
constexpr double kSaveGoalMs = 5.0;
constexpr double kMemoryGoalMb = 80.0;
// "Near decode speed": the whole load within twice the time of decoding the file in one call.
constexpr double kLoadGoalFactor = 2.0;

// The quest list's size in the main window (3855 x 3660 twips at 96 dpi).
constexpr int kListWidth = 257;
constexpr int kListHeight = 244;

// Counts the paints of a list's viewport, to show that a timed rebuild ends with the list drawn.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Lets the delayed item layout and the repaint that follow a model change run, as they would
// before the player sees the new list.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QByteArray rowsDetail(int rows)
{
    return QByteArray::number(rows) + " rows";
}

// The window's list source: texts are made only for the entries the view shows.
class EntrySource : public ListSource
{
public:
    EntrySource(QuestList entries, const QuestTable &table) : m_entries(std::move(entries)), m_table(table) {}
    int count() const override { return static_cast<int>(m_entries.size()); }
    QString text(int i) const override { return entryText(m_table, m_entries[static_cast<std::size_t>(i)]); }
    int data(int i) const override { return m_entries[static_cast<std::size_t>(i)].row; }

private:
    QuestList m_entries;
    const QuestTable &m_table;
};

// frmMain::showList: the built entries handed to the list box in one batch.
int showList(ListBox &list, QuestListBuilder &builder, const QuestTable &table)
{
    QuestList entries = builder.takeEntries();
    const int count = static_cast<int>(entries.size());
    list.setSource(std::make_shared<EntrySource>(std::move(entries), table));
    settle();
    return count;
}

// frmMain::RefreshQuestList.
int refreshQuestList(ListBox &list, const QuestCatalog &catalog, const ClearStatusTable &status,
                     const FilterSelection &selection, ListPresentation presentation)
{
    list.clear();
    const QuestFilter filter(catalog.table(), status, selection);
    QuestListBuilder builder(catalog, filter, presentation);
    builder.addAllRows();
    return showList(list, builder, catalog.table());
}

// frmMain::cmdSearchItems_Click.
int searchItems(ListBox &list, const QuestCatalog &catalog, const ClearStatusTable &status,
                const FilterSelection &selection, const QString &keyword)
{
    list.clear();
    const QuestTable &table = catalog.table();
    const QuestFilter filter(table, status, selection);
    QuestListBuilder builder(catalog, filter, ListPresentation::Flat);
    const std::int16_t n = table.count();
    for (std::int16_t r = 1; r <= n && r > 0; ++r) {
        if (rowContainsKeyword(table.row(r), keyword))
            builder.AddQuestToList(r);
    }
    return showList(list, builder, table);
}

// The literal list for the same selection: one sorted insertion per listed name.
int literalRefresh(QListWidget &visible, const QuestCatalog &catalog,
                   const ClearStatusTable &status, const FilterSelection &selection)
{
    LiteralSortedList list(visible);
    list.clear();
    const QuestTable &table = catalog.table();
    const QuestFilter filter(table, status, selection);
    int shown = 0;
    for (int r = 1; r <= table.count(); ++r) {
        if (filter.matches(r)) {
            list.addItem(table.row(r).QuestName);
            ++shown;
        }
    }
    settle();
    return shown;
}

// A spread of quest numbers that looks like a player's progress: about 30% cleared.
ClearStatusTable partlyCleared(std::int16_t size)
{
    ClearStatusTable status(size);
    std::uint32_t x = 12345;
    for (int q = 1; q <= size; ++q) {
        x = x * 1664525u + 1013904223u;
        if ((x >> 16) % 100 < 30)
            status.set(q, Cleared);
    }
    return status;
}

// Every quest set, so that the progress file has a line for each of them.
ClearStatusTable everyQuestSet(std::int16_t size)
{
    ClearStatusTable status(size);
    for (int q = 1; q <= size; ++q)
        status.set(q, q % 3 == 0 ? OnHold : Cleared);
    return status;
}

void printNote(const QByteArray &text)
{
    std::printf("    %s\n", text.constData());
}

QByteArray megabytes(long long kb)
{
    return QByteArray::number(static_cast<double>(kb) / 1024.0, 'f', 1) + " MB";
}

// Child mode: loads the database as the program does and reports the memory then held. Run in
// a fresh process so that nothing the benchmarks allocated is counted.
int residentProbe(const QString &databasePath)
{
    ListBox list;
    list.resize(kListWidth, kListHeight);
    list.show();
    std::optional<QuestCatalog> catalog;
    ClearStatusTable status;
    if (!databasePath.isEmpty()) {
        const FileRead file = readFile(databasePath, kMaxQuestDatabaseBytes);
        if (!file.ok())
            return 2;
        QuestDatabase db = parseQuestDatabase(file.bytes);
        if (!db.ok())
            return 2;
        catalog.emplace(std::move(db.table));
        status = ClearStatusTable(catalog->table().count());
        refreshQuestList(list, *catalog, status, {kAllRegions, 0},
                         ListPresentation::Flat);
    }
    settle();
    std::printf("VmRSS %lld\nVmHWM %lld\n", processStatusKb("VmRSS"), processStatusKb("VmHWM"));
    return 0;
}

struct ProbeResult {
    long long rssKb = -1;
    long long hwmKb = -1;
};

ProbeResult runProbe(const QString &databasePath)
{
    QProcess child;
    QStringList args{QStringLiteral("--resident-probe")};
    if (!databasePath.isEmpty())
        args << databasePath;
    child.start(QCoreApplication::applicationFilePath(), args);
    ProbeResult result;
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return result;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 2)
            continue;
        if (parts[0] == "VmRSS")
            result.rssKb = parts[1].toLongLong();
        else if (parts[0] == "VmHWM")
            result.hwmKb = parts[1].toLongLong();
    }
    return result;
}

// The figures of one run, printed as they come and kept for the summary.
class Report
{
public:
    explicit Report(QByteArray only) : m_only(std::move(only)) {}

    bool wanted(const QByteArray &name) const { return m_only.isEmpty() || name.contains(m_only); }
    void add(Figure figure)
    {
        printFigure(figure);
        m_figures.push_back(std::move(figure));
    }
    const Figure *find(const QByteArray &name) const
    {
        for (const Figure &f : m_figures) {
            if (f.name == name)
                return &f;
        }
        return nullptr;
    }

private:
    QByteArray m_only;
    std::vector<Figure> m_figures;
};

const QByteArray kParse = "load: parseQuestDatabase";
const QByteArray kDecode = "load: decode only (windows-31j, one call)";
const QByteArray kSerialize = "save: serializeClearStatus";
const QByteArray kFlatAll = "flat, all quests";
const QByteArray kLiteral = "literal QListWidget sorted insert, flat all";

// "met" when the wall-clock figure is within the goal; one that only the processor time keeps
// within it is named as such, since a busy machine stretches the wall clock alone.
const char *verdict(bool wallMet, bool cpuMet)
{
    if (wallMet)
        return "met";
    return cpuMet ? "met on cpu time only (busy machine?)" : "MISSED";
}

void goalLine(const QByteArray &label, const QByteArray &wall, const QByteArray &cpu,
              const char *verdictText)
{
    std::printf("  %-40s %10s %10s  %s\n", label.constData(), wall.constData(), cpu.constData(),
                verdictText);
}

QByteArray ms(double value)
{
    return QByteArray::number(value, 'f', 3);
}

void printSummary(const Report &report, const std::vector<QByteArray> &rebuildNames,
                  const std::optional<ProbeResult> &memory)
{
    std::printf("\n%-42s %10s %10s\n", "goals", "median ms", "cpu ms");
    std::printf("  every rebuild <= %.0f ms\n", kRebuildGoalMs);
    for (const QByteArray &name : rebuildNames) {
        if (const Figure *f = report.find(name))
            goalLine("  " + f->name, ms(f->medianMs), ms(f->cpuMedianMs),
                     verdict(f->medianMs <= kRebuildGoalMs, f->cpuMedianMs <= kRebuildGoalMs));
    }
    const Figure *ours = report.find(kFlatAll);
    const Figure *literal = report.find(kLiteral);
    if (ours && literal) {
        const double wall = literal->medianMs / ours->medianMs;
        const double cpu = literal->cpuMedianMs / ours->cpuMedianMs;
        goalLine("literal/ours >= " + QByteArray::number(kSpeedupGoal) + "x (flat, all quests)",
                 QByteArray::number(wall, 'f', 1) + "x", QByteArray::number(cpu, 'f', 1) + "x",
                 verdict(wall >= kSpeedupGoal, cpu >= kSpeedupGoal));
    }
    if (const Figure *f = report.find(kSerialize)) {
        goalLine("progress save <= " + QByteArray::number(kSaveGoalMs) + " ms before fsync",
                 ms(f->medianMs), ms(f->cpuMedianMs),
                 verdict(f->medianMs <= kSaveGoalMs, f->cpuMedianMs <= kSaveGoalMs));
    }
    const Figure *parse = report.find(kParse);
    const Figure *decode = report.find(kDecode);
    if (parse && decode) {
        const double factor = parse->cpuMedianMs / decode->cpuMedianMs;
        goalLine("load <= " + QByteArray::number(kLoadGoalFactor) + "x the decode time",
                 QByteArray(), QByteArray::number(factor, 'f', 1) + "x",
                 factor <= kLoadGoalFactor ? "met" : "MISSED");
    }
    if (memory && memory->rssKb >= 0) {
        const double mb = static_cast<double>(memory->rssKb) / 1024.0;
        goalLine("resident after loading <= " + QByteArray::number(kMemoryGoalMb) + " MB",
                 QByteArray::number(mb, 'f', 1) + " MB", QByteArray(),
                 mb <= kMemoryGoalMb ? "met" : "MISSED");
    }
}

int run(const QByteArray &only)
{
    const int questCount = sample::kMaxQuestCount;
    std::printf("pelko-bench: %d quests, Qt %s, platform %s\n\n", questCount, qVersion(),
                QGuiApplication::platformName().toUtf8().constData());

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    const QByteArray bytes = sample::generateQuestDatabase(questCount);
    const QString databasePath = dir.filePath(QStringLiteral("Pelko.dat"));
    if (bytes.isEmpty() || !saveWholeFile(databasePath, bytes)) {
        std::fprintf(stderr, "cannot generate the quest database\n");
        return 1;
    }

    Report report(only);
    printHeader();

    // Loading, beside the converter's own speed on the same bytes in one call.
    const double sizeMib = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
    auto throughput = [&](const Figure &f) {
        return QByteArray::number(sizeMib / (f.cpuMedianMs / 1000.0), 'f', 1) + " MiB/s (cpu)";
    };
    if (report.wanted(kParse)) {
        Figure parse = measure(kParse, kLoadRuns, [&] { return parseQuestDatabase(bytes).ok(); });
        parse.detail = QByteArray::number(sizeMib, 'f', 1) + " MiB, " + throughput(parse);
        report.add(parse);
    }
    if (report.wanted(kDecode)) {
        Figure decode = measure(kDecode, kLoadRuns, [&] {
            QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
            return QString(decoder(bytes)).size();
        });
        decode.detail = throughput(decode) + ", the reference for the load";
        report.add(decode);
    }
    QuestDatabase db = parseQuestDatabase(bytes);
    if (!db.ok() || db.table.count() != questCount) {
        std::fprintf(stderr, "the generated database did not load\n");
        return 1;
    }
    if (report.wanted("load: QuestCatalog (collation sort)")) {
        Figure sort = measurePrepared(
            "load: QuestCatalog (collation sort)", kLoadRuns, [&] { return db.table; },
            [](QuestTable table) { QuestCatalog catalog(std::move(table)); });
        sort.detail = "table copy not timed";
        report.add(sort);
    }

    const QuestCatalog catalog(std::move(db.table));
    const ClearStatusTable status = partlyCleared(catalog.table().count());
    const FilterSelection all{kAllRegions, 0};
    const QString region = RegionTable().at(0);
    const FilterSelection oneRegion{1, 0};
    const FilterSelection cleared{kAllRegions, 2};

    ListBox list;
    list.resize(kListWidth, kListHeight);
    list.show();
    PaintCounter paints;
    list.viewport()->installEventFilter(&paints);
    settle();

    // The rebuilds, each up to the painted list.
    struct RebuildCase {
        QByteArray name;
        std::function<int()> run;
    };
    const QString potion = QStringLiteral("ポーション");
    const QString feather = QStringLiteral("虹色の羽根");
    const RebuildCase rebuilds[] = {
        {kFlatAll,
         [&] { return refreshQuestList(list, catalog, status, all, ListPresentation::Flat); }},
        {"flat, one region",
         [&] {
             return refreshQuestList(list, catalog, status, oneRegion, ListPresentation::Flat);
         }},
        {"flat, cleared (state 2)",
         [&] { return refreshQuestList(list, catalog, status, cleared, ListPresentation::Flat); }},
        {"tree, all quests",
         [&] { return refreshQuestList(list, catalog, status, all, ListPresentation::Tree); }},
        {"search, common keyword", [&] { return searchItems(list, catalog, status, all, potion); }},
        {"search, rare keyword", [&] { return searchItems(list, catalog, status, all, feather); }},
    };
    std::vector<QByteArray> rebuildNames;
    for (const RebuildCase &c : rebuilds) {
        rebuildNames.push_back(c.name);
        if (!report.wanted(c.name))
            continue;
        int rows = 0;
        const int paintsBefore = paints.paints;
        Figure f = measure(c.name, kRebuildRuns, [&] { rows = c.run(); });
        const int paintsPerRun = (paints.paints - paintsBefore) / (kRebuildRuns + 1);
        f.detail = rowsDetail(rows) + ", " + QByteArray::number(paintsPerRun) + " paint/run";
        if (rows != list.listCount())
            f.detail += " (the list box holds " + QByteArray::number(list.listCount()) + ")";
        report.add(f);
    }

    // Where the flat list's time goes: the list alone, then the list box alone.
    if (report.wanted("  of which: filter + builder + entries")) {
        report.add(measure("  of which: filter + builder + entries", kRebuildRuns, [&] {
            const QuestFilter filter(catalog.table(), status, all);
            QuestListBuilder builder(catalog, filter, ListPresentation::Flat);
            builder.addAllRows();
            return builder.takeEntries().size();
        }));
    }
    if (report.wanted("  of which: clear + setSource + paint")) {
        QuestList fullEntries;
        for (const std::int16_t row : catalog.sortedRows())
            fullEntries.push_back({row, TreeMark::None});
        report.add(measurePrepared(
            "  of which: clear + setSource + paint", kRebuildRuns, [&] { return fullEntries; },
            [&](QuestList entries) {
                list.clear();
                list.setSource(std::make_shared<EntrySource>(std::move(entries), catalog.table()));
                settle();
            }));
    }

    // The literal list, shown beside ours at the same size. Both must show the same names in the
    // same order for the comparison to mean anything.
    std::optional<bool> sameOrder;
    if (report.wanted(kLiteral)) {
        QListWidget literal;
        literal.resize(kListWidth, kListHeight);
        literal.show();
        settle();
        int literalRows = 0;
        Figure f = measure(kLiteral, kLiteralRuns,
                           [&] { literalRows = literalRefresh(literal, catalog, status, all); });
        f.detail = rowsDetail(literalRows);
        report.add(f);
        refreshQuestList(list, catalog, status, all, ListPresentation::Flat);
        sameOrder = literal.count() == list.listCount();
        for (int i = 0; *sameOrder && i < literal.count(); ++i)
            sameOrder = literal.item(i)->text() == list.text(i);
    }

    // The progress save, with a line for every quest.
    const ClearStatusTable full = everyQuestSet(catalog.table().count());
    if (report.wanted(kSerialize)) {
        qsizetype statusBytes = 0;
        Figure f = measure(kSerialize, kSaveRuns,
                           [&] { statusBytes = serializeClearStatus(full).size(); });
        f.detail = QByteArray::number(statusBytes) + " bytes";
        report.add(f);
    }
    if (report.wanted("save: serialize + saveWholeFile")) {
        const QString statusPath = dir.filePath(QStringLiteral("clr_stat.dat"));
        bool saved = true;
        Figure f = measure("save: serialize + saveWholeFile", kSaveRuns, [&] {
            saved = saveWholeFile(statusPath, serializeClearStatus(full)) && saved;
        });
        f.detail = saved ? QByteArray("QSaveFile, into ") + QDir::tempPath().toUtf8()
                         : QByteArray("the save failed");
        report.add(f);
    }

    std::printf("\n");
    if (const Figure *ours = report.find(kFlatAll); ours && sameOrder) {
        const Figure *literal = report.find(kLiteral);
        std::printf("ratio literal/ours (flat, all quests): %.1fx  (%.3f ms / %.3f ms); "
                    "on cpu time %.1fx\n",
                    literal->medianMs / ours->medianMs, literal->medianMs, ours->medianMs,
                    literal->cpuMedianMs / ours->cpuMedianMs);
    }
    if (sameOrder)
        std::printf("same names in the same order in both lists: %s\n", *sameOrder ? "yes" : "NO");

    // Memory, measured in fresh processes so that nothing the benchmarks allocated is counted.
    std::optional<ProbeResult> memory;
    if (report.wanted("resident memory")) {
        const ProbeResult baseline = runProbe(QString());
        memory = runProbe(databasePath);
        if (memory->rssKb >= 0 && baseline.rssKb >= 0) {
            std::printf("resident memory after loading: VmRSS %s (peak %s); "
                        "an empty list box alone %s\n",
                        megabytes(memory->rssKb).constData(), megabytes(memory->hwmKb).constData(),
                        megabytes(baseline.rssKb).constData());
        } else {
            std::printf("resident memory after loading: the probe process failed\n");
        }
    }
    printNote("one region = " + region.toUtf8() + ", common keyword = " + potion.toUtf8()
              + ", rare keyword = " + feather.toUtf8());
    printSummary(report, rebuildNames, memory);
    benchLargestRecord(only);
    return 0;
}

} // namespace
} // namespace pelko::bench

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args.at(1) == QStringLiteral("--largest-record"))
        return pelko::bench::largestRecordProbe(args.at(2).toInt());
    if (args.size() >= 2 && args.at(1) == QStringLiteral("--resident-probe"))
        return pelko::bench::residentProbe(args.value(2));
    // An argument limits the run to the cases whose name contains it, e.g. "search" when the
    // program runs under a profiler.
    return pelko::bench::run(args.size() >= 2 ? args.at(1).toUtf8() : QByteArray());
}
