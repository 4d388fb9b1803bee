#pragma once

#include <QByteArray>

namespace pelko::bench {

// A field of /proc/self/status in kilobytes ("VmRSS", "VmHWM"), or -1 when it cannot be read.
long long processStatusKb(const QByteArray &field);

// The page faults the process has taken so far that needed no disk (each costs a few
// microseconds on a fresh page).
long minorFaults();

} // namespace pelko::bench
