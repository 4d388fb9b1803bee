#pragma once

#include <QByteArray>

namespace pelko::bench {

// A field of /proc/self/status in kilobytes ("VmRSS", "VmHWM"), or -1 when it cannot be read.
long long processStatusKb(const QByteArray &field);

} // namespace pelko::bench
