#pragma once

#include <QByteArray>
#include <QElapsedTimer>

#include <functional>
#include <vector>

namespace pelko::bench {

// One printed line: how often a case ran, its median and fastest wall-clock time, and the
// median processor time of the thread (steadier than the wall clock on a busy machine, and the
// same figure when the machine is idle).
struct Figure {
    QByteArray name;
    int runs = 0;
    double medianMs = 0;
    double minMs = 0;
    double cpuMedianMs = 0;
    QByteArray detail; // rows shown, throughput, ...
};

// Processor time used by the calling thread so far.
double threadCpuMs();

Figure summarize(QByteArray name, std::vector<double> wallMs, std::vector<double> cpuMs);

// As measure(), with an untimed prepare() before every run whose result the run consumes.
template <class Prepare, class Case>
Figure measurePrepared(QByteArray name, int runs, Prepare &&prepare, Case &&run)
{
    // One untimed run first: caches, lazy initialisation, the first layout.
    run(prepare());
    std::vector<double> wall;
    std::vector<double> cpu;
    wall.reserve(static_cast<std::size_t>(runs));
    cpu.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        auto input = prepare();
        const double cpuStart = threadCpuMs();
        QElapsedTimer timer;
        timer.start();
        run(std::move(input));
        wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - cpuStart);
    }
    return summarize(std::move(name), std::move(wall), std::move(cpu));
}

// Runs the case once untimed, then `runs` times.
template <class Case> Figure measure(QByteArray name, int runs, Case &&run)
{
    return measurePrepared(
        std::move(name), runs, [] { return 0; }, [&](int) { run(); });
}

// Runs each case once untimed, then all of them in turn, `runs` rounds: a slow spell of the
// machine then falls on every case alike, so that their figures compare.
std::vector<Figure> measureInterleaved(const std::vector<QByteArray> &names, int runs,
                                       const std::function<void(std::size_t)> &run);

void printHeader();
void printFigure(const Figure &figure);

} // namespace pelko::bench
