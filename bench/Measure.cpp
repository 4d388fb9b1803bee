#include "Measure.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace pelko::bench {
namespace {

double median(std::vector<double> &sorted)
{
    const std::size_t mid = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}

} // namespace

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

Figure summarize(QByteArray name, std::vector<double> wallMs, std::vector<double> cpuMs)
{
    Figure f;
    f.name = std::move(name);
    f.runs = static_cast<int>(wallMs.size());
    if (wallMs.empty())
        return f;
    std::sort(wallMs.begin(), wallMs.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    f.medianMs = median(wallMs);
    f.minMs = wallMs.front();
    f.cpuMedianMs = median(cpuMs);
    return f;
}

std::vector<Figure> measureInterleaved(const std::vector<QByteArray> &names, int runs,
                                       const std::function<void(std::size_t)> &run)
{
    const std::size_t n = names.size();
    std::vector<std::vector<double>> wall(n), cpu(n);
    for (std::size_t c = 0; c < n; ++c)
        run(c);
    for (int i = 0; i < runs; ++i) {
        for (std::size_t c = 0; c < n; ++c) {
            const double cpuStart = threadCpuMs();
            QElapsedTimer timer;
            timer.start();
            run(c);
            wall[c].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            cpu[c].push_back(threadCpuMs() - cpuStart);
        }
    }
    std::vector<Figure> figures;
    for (std::size_t c = 0; c < n; ++c)
        figures.push_back(summarize(names[c], std::move(wall[c]), std::move(cpu[c])));
    return figures;
}

void printHeader()
{
    std::printf("%-44s %5s %10s %10s %10s\n", "case", "runs", "median ms", "min ms", "cpu ms");
    std::printf("%-44s %5s %10s %10s %10s\n", "--------------------------------------------",
                "-----", "----------", "----------", "----------");
}

void printFigure(const Figure &f)
{
    std::printf("%-44s %5d %10.3f %10.3f %10.3f  %s\n", f.name.constData(), f.runs, f.medianMs,
                f.minMs, f.cpuMedianMs, f.detail.constData());
    std::fflush(stdout);
}

} // namespace pelko::bench
