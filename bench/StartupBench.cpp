#include "StartupBench.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <sched.h>

namespace pelko::bench {
namespace {

constexpr int kChildTimeoutMs = 60000;

long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct OneRun {
    std::map<QByteArray, double> markMs;
    long long residentKb = -1;
};

std::optional<OneRun> startOnce(const StartupCase &c, const QProcessEnvironment &env,
                                const std::vector<int> &cpus)
{
    QProcess child;
    child.setProcessEnvironment(env);
    if (!cpus.empty()) {
        cpu_set_t set;
        CPU_ZERO(&set);
        for (const int cpu : cpus)
            CPU_SET(cpu, &set);
        child.setChildProcessModifier([set] { sched_setaffinity(0, sizeof set, &set); });
    }
    child.setWorkingDirectory(c.workDir);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const long long startNs = monotonicNs();
    child.start(c.program, {});
    if (!child.waitForFinished(kChildTimeoutMs) || child.exitStatus() != QProcess::NormalExit) {
        child.kill();
        child.waitForFinished();
        return std::nullopt;
    }
    OneRun run;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3 && parts[0] == "startup-mark")
            run.markMs[parts[1]] = static_cast<double>(parts[2].toLongLong() - startNs) / 1e6;
        else if (parts.size() == 2 && parts[0] == "startup-rss")
            run.residentKb = parts[1].toLongLong();
    }
    if (!run.markMs.count("painted"))
        return std::nullopt;
    return run;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

} // namespace

double StartupFigure::ratioTo(const StartupFigure &other) const
{
    std::vector<double> ratios;
    for (const auto &[round, ms] : paintedByRound) {
        if (const auto it = other.paintedByRound.find(round);
            it != other.paintedByRound.end() && it->second > 0)
            ratios.push_back(ms / it->second);
    }
    return ratios.empty() ? 0.0 : median(ratios);
}

double StartupFigure::totalMs() const
{
    const auto it = markMs.find("painted");
    return it == markMs.end() ? -1 : it->second;
}

std::vector<int> usableCpus()
{
    std::vector<int> cpus;
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        return cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &set))
            cpus.push_back(cpu);
    }
    return cpus;
}

std::vector<StartupFigure> measureStartup(const std::vector<StartupCase> &cases, int runs,
                                          const QString &marksLibrary, const std::vector<int> &cpus)
{
    QTemporaryDir runtimeDir; // created 0700, as a runtime folder must be
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // On a display (a desktop, or Xvfb) both programs start as a player sees them; without one
    // they draw offscreen, where a bare window starts several times faster.
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")) && !env.contains(QStringLiteral("DISPLAY"))
        && !env.contains(QStringLiteral("WAYLAND_DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_PRELOAD"), marksLibrary);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());

    std::vector<std::vector<OneRun>> results(cases.size());
    std::vector<std::map<int, double>> painted(cases.size());
    for (int round = 0; round <= runs; ++round) {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            std::optional<OneRun> run = startOnce(cases[i], env, cpus);
            if (!run) {
                std::fprintf(stderr, "start-up: %s did not report a painted window\n",
                             cases[i].name.constData());
                continue;
            }
            if (round == 0) // the first round fills the file and font caches
                continue;
            if (const auto it = run->markMs.find("painted"); it != run->markMs.end())
                painted[i][round] = it->second;
            results[i].push_back(std::move(*run));
        }
    }

    std::vector<StartupFigure> figures;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        StartupFigure f;
        f.name = cases[i].name;
        f.runs = static_cast<int>(results[i].size());
        for (const char *mark : kStartupMarks) {
            std::vector<double> values;
            for (const OneRun &r : results[i]) {
                if (const auto it = r.markMs.find(mark); it != r.markMs.end())
                    values.push_back(it->second);
            }
            if (!values.empty())
                f.markMs[mark] = median(values);
        }
        std::vector<double> resident;
        for (const OneRun &r : results[i]) {
            if (r.residentKb >= 0)
                resident.push_back(static_cast<double>(r.residentKb) / 1024.0);
        }
        f.residentMb = median(resident);
        f.paintedByRound = std::move(painted[i]);
        figures.push_back(std::move(f));
    }
    return figures;
}

} // namespace pelko::bench
