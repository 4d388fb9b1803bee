// Times what a player waits for at the format's limit of quests, through the code the window
// runs: every list rebuild (QuestTracker's list or search handed to the list box, up to the
// painted list), the load, the progress save, the memory held once loaded, and the start-up of
// the real program as a process on the 2 MB and 10 MB databases beside its start on the sample
// database (and a bare Qt window, for information), on two processors and on one. In the same run
// the flat list is also filled by one sorted insertion per name into a QListWidget, the way a
// classic sorted list control fills itself, and the two must show the same names in the same
// order.
//
// Run on a display, as a player starts the program (xvfb-run -a build/bench/pelko-bench), or on
// the offscreen platform (QT_QPA_PLATFORM=offscreen build/bench/pelko-bench); the start-up's
// child processes use the same.
#include "ClearStatus.h"
#include "FileStore.h"
#include "LargestRecord.h"
#include "LiteralSortedList.h"
#include "Measure.h"
#include "QuestCatalog.h"
#include "QuestDatabase.h"
#include "QuestDatabaseGenerator.h"
#include "QuestListSource.h"
#include "QuestTracker.h"
#include "RegionTable.h"
#include "ResidentMemory.h"
#include "Settings.h"
#include "ShiftJis.h"
#include "StartupBench.h"
#include "toolkit/Fonts.h"
#include "toolkit/ListBox.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <optional>

namespace pelko::bench {
namespace {

constexpr int kRebuildRuns = 61;
constexpr int kLiteralRuns = 5;
constexpr int kLoadRuns = 9;
constexpr int kSaveRuns = 25;
constexpr int kStartupRuns = 15;
constexpr int kStepRuns = 5;

// The goals, each printed with its figure and "met" or "not met".
constexpr double kRebuildGoalMs = 2.0;
constexpr double kStartupGoal2Mb = 1.1; // times the program's start on the sample database
constexpr double kStartupGoal10Mb = 1.5;
constexpr double kLoadGoalFactor = 1.3; // times decoding the file alone
constexpr double kMemoryGoalMb = 60.0;
constexpr double kSaveGoalMs = 5.0;

// The quest list's size in the main window (3855 x 3660 twips at 96 dpi).
constexpr int kListWidth = 257;
constexpr int kListHeight = 244;

const QString kDatabaseFile = QStringLiteral("Pelko.dat");
const QString kProgressFile = QStringLiteral("clr_stat.dat");
const QString kSettingsFile = QStringLiteral("Pelko.ini");

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
// The sorted order of a whole table at once, the names handed over in one go.
QuestCatalog catalogOf(QuestTable table)
{
    QuestCatalogBuilder builder;
    builder.close(table.names(), table.count());
    return builder.finish(std::move(table));
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// frmMain::RefreshQuestList and cmdSearchItems_Click: the list box is emptied first, then the
// tracker builds the list and the list box is handed it in one batch. Then, as when the handler
// returns to the event loop, the list is laid out and painted, unless the caller goes on.
int showList(ListBox &list, const QuestTracker &tracker, const std::function<QuestList()> &build,
             bool paint = true)
{
    list.clear();
    QuestList entries = build();
    const int count = static_cast<int>(entries.size());
    list.setSource(std::make_shared<QuestListSource>(std::move(entries), tracker));
    if (paint)
        settle();
    return count;
}

// The literal list for the same selection: one sorted insertion per listed name.
int literalRefresh(QListWidget &visible, const QuestTracker &tracker)
{
    LiteralSortedList list(visible);
    list.clear();
    const QuestTable &table = tracker.questTable();
    for (int r = 1; r <= table.count(); ++r)
        list.addItem(table.row(r).QuestName);
    settle();
    return table.count();
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

// A working folder as a player has it: the database, a progress file (so that no first-run
// notice waits for a click) and the settings of an all-quests flat list.
bool fillWorkDir(const QString &dir, const QByteArray &database)
{
    const QuestDatabase db = parseQuestDatabase(database);
    if (!db.ok())
        return false;
    const QDir d(dir);
    return saveWholeFile(d.filePath(kDatabaseFile), database)
           && saveWholeFile(d.filePath(kProgressFile),
                            serializeClearStatus(partlyCleared(db.table.count())))
           && saveWholeFile(d.filePath(kSettingsFile), serializeSettings({0, 0, 0, 0}));
}

QByteArray megabytes(double mb)
{
    return QByteArray::number(mb, 'f', 1) + " MB";
}

// The child processes, each run fresh so that nothing the benchmark did before is counted.
const QString kResidentProbe = QStringLiteral("--resident-probe");
const QString kStartupSteps = QStringLiteral("--startup-steps");

std::optional<QByteArray> runChild(const QStringList &args)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return std::nullopt;
    return child.readAllStandardOutput();
}

std::map<QByteArray, double> parseFigures(const QByteArray &output)
{
    std::map<QByteArray, double> figures;
    for (const QByteArray &line : output.split('\n')) {
        const qsizetype tab = line.lastIndexOf('\t');
        if (tab > 0)
            figures[line.left(tab)] = line.mid(tab + 1).toDouble();
    }
    return figures;
}

// Child: loads the folder's database as the program does, shows the flat list of every quest
// and reports the memory then held.
int residentProbe(const QString &dir)
{
    ListBox list;
    list.resize(kListWidth, kListHeight);
    list.show();
    QuestTracker tracker(dir);
    if (!dir.isEmpty()) {
        if (!tracker.LoadQuestData())
            return 2;
        tracker.questTable().details(); // the load is over once the texts are decoded
        tracker.LoadClearStatus();
        showList(list, tracker, [&] { return tracker.listFor({{kAllRegions, 0}, false}); });
    }
    settle();
    std::printf("VmRSS\t%lld\nVmHWM\t%lld\n", processStatusKb("VmRSS"), processStatusKb("VmHWM"));
    return 0;
}

// Child: the steps of Form_Load one at a time, in a fresh process as at start-up, each with the
// page faults it took. The load's steps are those of its thread (the texts after the names are
// decoded while the window is shown); the rest run on a tracker as the window runs them, the
// lists handed to a list box that is not shown yet.
int startupSteps(const QString &dir)
{
    auto timed = [](const char *name, const auto &step) {
        const long faultsBefore = minorFaults();
        QElapsedTimer timer;
        timer.start();
        step();
        std::printf("%s\t%.3f\t%ld\n", name, static_cast<double>(timer.nsecsElapsed()) / 1e6,
                    minorFaults() - faultsBefore);
    };
    // The one-time set-ups a fresh process pays for on its first decode and first collation.
    timed("code page tables", [] { decodeAnsi(QByteArrayView("\x82\xa0")); });
    const QByteArray few = sample::generateQuestDatabase(8);
    timed("collator open", [&] { catalogOf(parseQuestDatabase(few).table); });
    FileRead file;
    timed("read",
          [&] { file = readFile(QDir(dir).filePath(kDatabaseFile), kMaxQuestDatabaseBytes); });
    if (!file.ok())
        return 2;
    QuestDatabase db;
    timed("parse, names decoded", [&] { db = parseQuestDatabaseNamesFirst(file.bytes); });
    if (!db.ok())
        return 2;
    file = FileRead(); // the texts after the names keep the bytes
    const std::shared_ptr<const DetailTexts> details = db.table.detailTexts();
    timed("collation", [&] { catalogOf(std::move(db.table)); });
    timed("other texts decoded (after)", [&] { details->texts(); });

    QuestTracker tracker(dir);
    if (!tracker.LoadQuestData())
        return 2;
    tracker.questTable().details();
    timed("progress file", [&] { tracker.LoadClearStatus(); });
    ListBox list;
    list.resize(kListWidth, kListHeight);
    timed("first lists (hidden)", [&] {
        // Region item 0 before the progress selector has items, then both at item 0; the
        // restored settings of the working folder change nothing.
        showList(list, tracker, [&] { return tracker.listFor({{kAllRegions, -1}, false}); });
        showList(list, tracker, [&] { return tracker.listFor({{kAllRegions, 0}, false}); });
    });
    timed("settings file", [&] { tracker.LoadSettings(); });
    return 0;
}

// The figures of one run, printed as they come and kept for the summary.
class Report
{
public:
    explicit Report(QByteArray only) : m_only(std::move(only)) {}

    double residentAfterLoadMb = -1; // tracker + list box, once every text is decoded

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

const QByteArray kRead = "load: read Pelko.dat";
const QByteArray kDecode = "load: decode only (windows-31j, one call)";
const QByteArray kParse = "load: parseQuestDatabase";
const QByteArray kCatalog = "load: QuestCatalog of a parsed table";
const QByteArray kLoad = "load: LoadQuestData + the other texts";
const QByteArray kSerialize = "save: serializeClearStatus";
const QByteArray kFlatAll = "flat, all quests";
const QByteArray kAfterChange = "after a progress change (not done list)";
const QByteArray kLiteral = "literal QListWidget sorted insert, flat all";

const QByteArray kBare = "bare Qt window, one list view";
const QByteArray kSample = "pelko, sample database";
const QByteArray k2Mb = "pelko, 2 MB database";
const QByteArray k10Mb = "pelko, 10 MB database";

const char *verdict(bool met)
{
    return met ? "met" : "not met";
}

void goalLine(const QByteArray &label, const QByteArray &figure, const QByteArray &beside, bool met)
{
    std::printf("  %-48s %12s %14s  %s\n", label.constData(), figure.constData(),
                beside.constData(), verdict(met));
}

QByteArray ms(double value)
{
    return QByteArray::number(value, 'f', 3) + " ms";
}

const StartupFigure *findStartup(const std::vector<StartupFigure> &figures, const QByteArray &name)
{
    for (const StartupFigure &f : figures) {
        if (f.name == name)
            return &f;
    }
    return nullptr;
}

struct Folders {
    QTemporaryDir root;
    QString sample, small, large;
};

void printStartup(const std::vector<StartupFigure> &figures, const char *where)
{
    const StartupFigure *sample = findStartup(figures, kSample);
    const StartupFigure *bare = findStartup(figures, kBare);
    std::printf("\nstart-up %s, process start to painted window (median of %d starts, ms)\n", where,
                kStartupRuns);
    std::printf("  %-34s %8s %8s %7s %8s %9s %8s %8s %8s %8s\n", "", "painted", "x sample",
                "x bare", "libs", "qt+font", "window", "Form_Load", "shown>", "resident");
    std::printf("  %-34s %8s %8s %7s %8s %9s %8s %8s %8s %8s\n", "", "", "", "", "loaded",
                "app+font", "built", "+show", "painted", "MB");
    const auto ratio = [](const StartupFigure &f, const StartupFigure *to) {
        return to ? f.ratioTo(*to) : 0.0;
    };
    for (const StartupFigure &f : figures) {
        const auto at = [&](const char *mark) {
            const auto it = f.markMs.find(mark);
            return it == f.markMs.end() ? 0.0 : it->second;
        };
        std::printf("  %-34s %8.1f %7.2fx %6.2fx %8.1f %9.1f %8.1f %8.1f %8.1f %8.1f\n",
                    f.name.constData(), f.totalMs(), ratio(f, sample), ratio(f, bare), at("loaded"),
                    at("font") - at("loaded"), at("titled") - at("font"),
                    at("shown") - at("titled"), at("painted") - at("shown"), f.residentMb);
    }
}

// The steps of Form_Load, each in a fresh process kStepRuns times: median milliseconds and page
// faults, the 2 MB and the 10 MB database side by side.
void printSteps(const Folders &folders)
{
    std::printf("\n  Form_Load's steps, one at a time in a fresh process (median of %d):\n",
                kStepRuns);
    std::vector<QByteArray> order;
    std::map<QByteArray, std::vector<double>> ms[2], faults[2];
    int column = 0;
    for (const QString &dir : {folders.small, folders.large}) {
        for (int i = 0; i < kStepRuns; ++i) {
            const auto out = runChild({kStartupSteps, dir});
            for (const QByteArray &line : out ? out->split('\n') : QList<QByteArray>()) {
                const QList<QByteArray> f = line.split('\t');
                if (f.size() != 3)
                    continue;
                if (std::find(order.begin(), order.end(), f[0]) == order.end())
                    order.push_back(f[0]);
                ms[column][f[0]].push_back(f[1].toDouble());
                faults[column][f[0]].push_back(f[2].toDouble());
            }
        }
        ++column;
    }
    const auto middle = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? -1.0 : v[v.size() / 2];
    };
    std::printf("    %-32s %10s %8s %10s %8s\n", "", "2 MB ms", "faults", "10 MB ms", "faults");
    for (const QByteArray &step : order) {
        std::printf("    %-32s %10.1f %8.0f %10.1f %8.0f\n", step.constData(), middle(ms[0][step]),
                    middle(faults[0][step]), middle(ms[1][step]), middle(faults[1][step]));
    }
}

void printSummary(const Report &report, const std::vector<QByteArray> &rebuildNames,
                  const std::vector<StartupFigure> &startup,
                  const std::vector<StartupFigure> &oneCore)
{
    std::printf("\n%-50s %12s %14s\n", "goals (medians)", "figure", "");
    std::printf("  every list rebuild <= %.0f ms, model reset and paint included\n",
                kRebuildGoalMs);
    for (const QByteArray &name : rebuildNames) {
        if (const Figure *f = report.find(name))
            goalLine("  " + f->name, ms(f->medianMs), "cpu " + ms(f->cpuMedianMs),
                     f->medianMs <= kRebuildGoalMs);
    }
    // The start-up against the program's own start on the 15 KB sample, in the same run: what
    // the database costs the player.
    for (const auto &[name, goal] : {std::pair{k2Mb, kStartupGoal2Mb}, {k10Mb, kStartupGoal10Mb}}) {
        const StartupFigure *sample = findStartup(startup, kSample);
        const StartupFigure *f = findStartup(startup, name);
        if (!f || !sample || sample->totalMs() <= 0)
            continue;
        const double ratio = f->ratioTo(*sample);
        goalLine("start-up " + name.mid(7) + " <= " + QByteArray::number(goal, 'f', 1)
                     + "x the sample's",
                 QByteArray::number(ratio, 'f', 2) + "x",
                 QByteArray::number(f->totalMs(), 'f', 1) + " / "
                     + QByteArray::number(sample->totalMs(), 'f', 1),
                 ratio <= goal);
        const StartupFigure *sampleOne = findStartup(oneCore, kSample);
        const StartupFigure *one = findStartup(oneCore, name);
        if (one && sampleOne && sampleOne->totalMs() > 0)
            std::printf("  %-48s %11.2fx %14s\n", "  the same on one core",
                        one->ratioTo(*sampleOne),
                        (QByteArray::number(one->totalMs(), 'f', 1) + " / "
                         + QByteArray::number(sampleOne->totalMs(), 'f', 1))
                            .constData());
    }
    const Figure *load = report.find(kLoad);
    const Figure *decode = report.find(kDecode);
    if (load && decode) {
        const double factor = load->medianMs / decode->medianMs;
        goalLine("load of 10 MB <= " + QByteArray::number(kLoadGoalFactor) + "x decoding alone",
                 QByteArray::number(factor, 'f', 2) + "x",
                 QByteArray::number(load->medianMs, 'f', 1) + " / "
                     + QByteArray::number(decode->medianMs, 'f', 1),
                 factor <= kLoadGoalFactor);
    }
    if (const StartupFigure *f = findStartup(startup, k10Mb); f && f->residentMb >= 0) {
        goalLine("resident after loading 10 MB <= " + QByteArray::number(kMemoryGoalMb) + " MB",
                 megabytes(f->residentMb), "the program", f->residentMb <= kMemoryGoalMb);
    }
    if (report.residentAfterLoadMb >= 0) {
        goalLine("  the same once every text is decoded", megabytes(report.residentAfterLoadMb),
                 "tracker+list", report.residentAfterLoadMb <= kMemoryGoalMb);
    }
    if (const Figure *f = report.find(kSerialize)) {
        goalLine("progress save <= " + QByteArray::number(kSaveGoalMs) + " ms before fsync",
                 ms(f->medianMs), "", f->medianMs <= kSaveGoalMs);
    }
    const Figure *ours = report.find(kFlatAll);
    const Figure *literal = report.find(kLiteral);
    if (ours && literal) {
        std::printf("  %-48s %11.0fx %14s\n", "literal port / ours (flat, all quests)",
                    literal->medianMs / ours->medianMs,
                    (QByteArray::number(literal->medianMs, 'f', 0) + " / "
                     + QByteArray::number(ours->medianMs, 'f', 2))
                        .constData());
    }
}

int run(const QByteArray &only)
{
    const int questCount = sample::kMaxQuestCount;
    std::printf("pelko-bench: %d quests, Qt %s, platform %s\n\n", questCount, qVersion(),
                QGuiApplication::platformName().toUtf8().constData());

    Folders folders;
    const QByteArray large = sample::generateQuestDatabase(questCount);
    const QByteArray small =
        sample::generateQuestDatabase(questCount, 1, sample::TextVolume::Short);
    const FileRead sampleFile =
        readFile(QStringLiteral(PELKO_SAMPLE_DATABASE), kMaxQuestDatabaseBytes);
    const std::optional<QByteArray> sampleDb =
        sampleFile.ok() ? std::optional(sampleFile.bytes) : std::nullopt;
    QDir root(folders.root.path());
    for (const char *name : {"sample", "2mb", "10mb"})
        root.mkdir(QString::fromLatin1(name));
    folders.sample = root.filePath(QStringLiteral("sample"));
    folders.small = root.filePath(QStringLiteral("2mb"));
    folders.large = root.filePath(QStringLiteral("10mb"));
    if (!folders.root.isValid() || large.isEmpty() || !sampleDb
        || !fillWorkDir(folders.large, large) || !fillWorkDir(folders.small, small)
        || !fillWorkDir(folders.sample, *sampleDb)) {
        std::fprintf(stderr, "cannot prepare the working folders\n");
        return 1;
    }
    const QString databasePath = QDir(folders.large).filePath(kDatabaseFile);
    const auto mib = [](const QByteArray &b) { return static_cast<double>(b.size()) / 1048576.0; };
    std::printf("databases: %.1f MiB and %.1f MiB at %d quests; sample %.1f KiB\n\n", mib(large),
                mib(small), questCount, static_cast<double>(sampleDb->size()) / 1024.0);

    Report report(only);
    printHeader();

    // Loading the 10 MB database, beside the converter's own speed on the same bytes.
    const auto throughput = [&](const Figure &f) {
        return QByteArray::number(mib(large) / (f.medianMs / 1000.0), 'f', 1) + " MiB/s";
    };
    if (report.wanted(kRead))
        report.add(measure(kRead, kLoadRuns, [&] {
            return readFile(databasePath, kMaxQuestDatabaseBytes).bytes.size();
        }));
    if (report.wanted(kDecode)) {
        Figure decode = measure(kDecode, kLoadRuns, [&] {
            QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
            return QString(decoder(large)).size();
        });
        decode.detail = throughput(decode) + ", the reference for the load";
        report.add(decode);
    }
    if (report.wanted(kParse)) {
        Figure parse = measure(kParse, kLoadRuns, [&] { return parseQuestDatabase(large).ok(); });
        parse.detail = throughput(parse) + ", every text decoded at once";
        report.add(parse);
    }
    if (report.wanted(kCatalog)) {
        const QuestDatabase db = parseQuestDatabase(large);
        Figure f = measurePrepared(
            kCatalog, kLoadRuns, [&] { return db.table; },
            [](QuestTable table) { catalogOf(std::move(table)); });
        f.detail = "the collation order; the table copy is not timed";
        report.add(f);
    }
    if (report.wanted(kLoad)) {
        std::optional<QuestTracker> loaded;
        bool ok = true;
        Figure f = measurePrepared(
            kLoad, kLoadRuns, [&] { return loaded.reset(), 0; },
            [&](int) {
                loaded.emplace(folders.large);
                ok = loaded->LoadQuestData() && ok;
                loaded->questTable().details();
            });
        f.detail = ok ? "read + decode + parse + catalog, the whole load" : "the load FAILED";
        report.add(f);
    }

    QuestTracker tracker(folders.large);
    if (!tracker.LoadQuestData() || tracker.intNumberOfContents() != questCount
        || tracker.LoadClearStatus() != ProgressNotice::None) {
        std::fprintf(stderr, "the generated database did not load\n");
        return 1;
    }

    ListBox list;
    list.resize(kListWidth, kListHeight);
    list.show();
    PaintCounter paints;
    list.viewport()->installEventFilter(&paints);
    settle();

    // The rebuilds, each up to the painted list, taken in turn round after round.
    struct RebuildCase {
        QByteArray name;
        std::function<QuestList()> build;
    };
    const QString potion = QStringLiteral("ポーション");
    const QString feather = QStringLiteral("虹色の羽根");
    const FilterSelection all{kAllRegions, 0};
    const RebuildCase rebuilds[] = {
        {kFlatAll,
         [&] {
             return tracker.listFor({all, false});
         }},
        {"flat, one region",
         [&] {
             return tracker.listFor({{1, 0}, false});
         }},
        {"flat, one state (cleared)",
         [&] {
             return tracker.listFor({{kAllRegions, 2}, false});
         }},
        {"tree, all quests",
         [&] {
             return tracker.listFor({all, true});
         }},
        {"search, common keyword", [&] { return tracker.searchFor(potion, all); }},
        {"search, rare keyword", [&] { return tracker.searchFor(feather, all); }},
    };
    std::vector<QByteArray> rebuildNames;
    std::vector<const RebuildCase *> wanted;
    for (const RebuildCase &c : rebuilds) {
        rebuildNames.push_back(c.name);
        if (report.wanted(c.name))
            wanted.push_back(&c);
    }
    std::vector<QByteArray> wantedNames;
    for (const RebuildCase *c : wanted)
        wantedNames.push_back(c->name);
    std::vector<int> rows(wanted.size()), paintCount(wanted.size());
    std::vector<Figure> figures = measureInterleaved(wantedNames, kRebuildRuns, [&](std::size_t c) {
        const int paintsBefore = paints.paints;
        rows[c] = showList(list, tracker, wanted[c]->build);
        paintCount[c] += paints.paints - paintsBefore;
    });
    for (std::size_t c = 0; c < figures.size(); ++c) {
        figures[c].detail = QByteArray::number(rows[c]) + " rows, "
                            + QByteArray::number(paintCount[c] / (kRebuildRuns + 1)) + " paint/run";
        report.add(figures[c]);
    }

    // frmMain::optQuestState_Click after the save: the list rebuilt, the same position shown
    // at the top and selected. The player looks at the quests not done and clears the one at
    // the position, which leaves the list; the next run puts it back.
    rebuildNames.push_back(kAfterChange);
    const ListSelection notDone{{kAllRegions, 1}, false};
    if (report.wanted("after a progress change")) {
        showList(list, tracker, [&] { return tracker.listFor(notDone); });
        constexpr int position = 1000;
        const int row = list.itemData(position);
        bool cleared = false;
        bool saved = true;
        const auto change = [&] {
            cleared = !cleared;
            saved = tracker.changeProgress(row, cleared ? Cleared : NotDone) && saved;
        };
        const auto rebuild = [&] {
            showList(
                list, tracker, [&] { return tracker.listFor(notDone); }, false);
            list.setTopIndex(position);
            list.setListIndex(position);
            settle();
        };
        const int paintsBefore = paints.paints;
        Figure f = measurePrepared(
            kAfterChange, kRebuildRuns, [&] { return change(), 0; }, [&](int) { rebuild(); });
        f.detail = QByteArray::number(list.listCount()) + " rows, "
                   + QByteArray::number((paints.paints - paintsBefore) / (kRebuildRuns + 1))
                   + " paint/run; the save before it not timed";
        report.add(f);
        Figure whole = measure("  with the change and its save", kRebuildRuns, [&] {
            change();
            rebuild();
        });
        whole.detail = saved ? "QuestTracker::changeProgress + the rebuild" : "a save FAILED";
        report.add(whole);
    }

    // Where the flat list's time goes: the tracker's list alone, then the list box alone.
    if (report.wanted("  of which: QuestTracker::listFor")) {
        report.add(measure("  of which: QuestTracker::listFor", kRebuildRuns, [&] {
            return tracker.listFor({all, false}).size();
        }));
    }
    if (report.wanted("  of which: clear + setSource + paint")) {
        const QuestList entries = tracker.listFor({all, false});
        report.add(measure("  of which: clear + setSource + paint", kRebuildRuns,
                           [&] { showList(list, tracker, [&] { return entries; }); }));
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
                           [&] { literalRows = literalRefresh(literal, tracker); });
        f.detail = QByteArray::number(literalRows) + " rows";
        report.add(f);
        showList(list, tracker, [&] { return tracker.listFor({all, false}); });
        sameOrder = literal.count() == list.listCount();
        for (int i = 0; *sameOrder && i < literal.count(); ++i)
            sameOrder = literal.item(i)->text() == list.text(i);
    }

    // The progress save, with a line for every quest.
    const ClearStatusTable full = everyQuestSet(tracker.intNumberOfContents());
    if (report.wanted(kSerialize)) {
        qsizetype statusBytes = 0;
        Figure f = measure(kSerialize, kSaveRuns,
                           [&] { statusBytes = serializeClearStatus(full).size(); });
        f.detail = QByteArray::number(statusBytes) + " bytes";
        report.add(f);
    }
    if (report.wanted("save: serialize + saveWholeFile")) {
        const QString statusPath = root.filePath(kProgressFile);
        bool saved = true;
        Figure f = measure("save: serialize + saveWholeFile", kSaveRuns, [&] {
            saved = saveWholeFile(statusPath, serializeClearStatus(full)) && saved;
        });
        f.detail =
            saved ? QByteArray("a temporary file renamed over it, in ") + QDir::tempPath().toUtf8()
                  : QByteArray("the save failed");
        report.add(f);
    }

    std::printf("\n");
    if (sameOrder)
        std::printf("same names in the same order in both lists: %s\n", *sameOrder ? "yes" : "NO");

    // Memory of the tracker and a list box alone, in fresh processes.
    if (report.wanted("resident memory")) {
        const auto base = runChild({kResidentProbe});
        const auto loaded = runChild({kResidentProbe, folders.large});
        if (base && loaded) {
            const auto b = parseFigures(*base);
            const auto l = parseFigures(*loaded);
            report.residentAfterLoadMb = l.at("VmRSS") / 1024;
            std::printf("resident memory, tracker + list box after loading 10 MB: %s (peak %s); "
                        "an empty list box alone %s\n",
                        megabytes(l.at("VmRSS") / 1024).constData(),
                        megabytes(l.at("VmHWM") / 1024).constData(),
                        megabytes(b.at("VmRSS") / 1024).constData());
        } else {
            std::printf("resident memory: the probe process failed\n");
        }
    }

    // The start-up of the real program on the three databases and of a bare window, all
    // started as processes, on two processors and on one.
    std::vector<StartupFigure> startup, oneCore;
    if (report.wanted("start-up")) {
        const std::vector<StartupCase> cases = {
            {kBare, QStringLiteral(PELKO_BARE_WINDOW), folders.sample},
            {kSample, QStringLiteral(PELKO_PROGRAM), folders.sample},
            {k2Mb, QStringLiteral(PELKO_PROGRAM), folders.small},
            {k10Mb, QStringLiteral(PELKO_PROGRAM), folders.large}};
        const std::vector<int> cpus = usableCpus();
        if (cpus.size() >= 2) {
            startup = measureStartup(cases, kStartupRuns, QStringLiteral(PELKO_STARTUP_MARKS),
                                     {cpus[0], cpus[1]});
            printStartup(startup, "on two processors");
        }
        oneCore = measureStartup(cases, kStartupRuns, QStringLiteral(PELKO_STARTUP_MARKS),
                                 {cpus.empty() ? 0 : cpus[0]});
        printStartup(oneCore, "on one processor");
        if (startup.empty())
            startup = oneCore;
        printSteps(folders);
    }

    std::printf("\n    one region = %s, common keyword = %s, rare keyword = %s\n",
                regionName(1).toUtf8().constData(), potion.toUtf8().constData(),
                feather.toUtf8().constData());
    printSummary(report, rebuildNames, startup, oneCore);
    benchLargestRecord(only);
    return 0;
}

} // namespace
} // namespace pelko::bench

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The program's font: the list's paint depends on the face it shapes its texts with.
    QApplication::setFont(pelko::japaneseUiFont());
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args.at(1) == QStringLiteral("--largest-record"))
        return pelko::bench::largestRecordProbe(args.at(2).toInt());
    if (args.value(1) == pelko::bench::kResidentProbe)
        return pelko::bench::residentProbe(args.value(2));
    if (args.value(1) == pelko::bench::kStartupSteps)
        return pelko::bench::startupSteps(args.value(2));
    // An argument limits the run to the cases whose name contains it, e.g. "search" when the
    // program runs under a profiler.
    return pelko::bench::run(args.size() >= 2 ? args.at(1).toUtf8() : QByteArray());
}
