#pragma once

#include <QByteArray>

namespace pelko::bench {

// The largest quest database the program accepts, all of it in one record: the time from
// creating the main window to showing it, and the time from selecting that record to the
// painted detail pane, with the bulk of the file in each field in turn. Each case runs in a
// fresh process (this program with --largest-record CASE), so that its peak memory is its own.
void benchLargestRecord(const QByteArray &only);
int largestRecordProbe(int caseIndex);

} // namespace pelko::bench
