#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace pelko::bench {

// The marks a started program reports (see StartupMarks.cpp), in the order they come.
inline const char *const kStartupMarks[] = {"loaded", "qt",    "font",   "titled",
                                            "shown",  "paint", "painted"};

// One program to start: its executable and the working folder it starts in.
struct StartupCase {
    QByteArray name;
    QString program;
    QString workDir;
};

// Medians over the runs of one case: each mark in ms after the process was started, and the
// resident memory once painted.
struct StartupFigure {
    QByteArray name;
    int runs = 0;
    std::map<QByteArray, double> markMs;
    double residentMb = -1;
    std::map<int, double> paintedByRound; // each timed round's painted mark

    double totalMs() const;
    // The median over the rounds both were started in of this start's time ÷ the other's: a
    // busy spell of the machine slows both starts of a round alike, and cancels out.
    double ratioTo(const StartupFigure &other) const;
};

// The processors the benchmark may run on, in order; empty where that cannot be told.
std::vector<int> usableCpus();

// Starts every case `runs` times, round by round so that a busy spell of the machine falls on
// all of them alike, after one untimed round. Each child runs on the offscreen platform with
// the marks library preloaded and a runtime folder of its own, so that its single-instance
// lock meets no copy the player is running; with cpus given, only on those processors.
std::vector<StartupFigure> measureStartup(const std::vector<StartupCase> &cases, int runs,
                                          const QString &marksLibrary,
                                          const std::vector<int> &cpus = {});

} // namespace pelko::bench
