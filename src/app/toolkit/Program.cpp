#include "Program.h"

#include <QCoreApplication>
#include <QDesktopServices>

namespace pelko {
namespace {

ProgramRecorder *activeRecorder = nullptr;
int exitStatus = 0;

} // namespace

ProgramRecorder::ProgramRecorder() : m_previous(activeRecorder)
{
    activeRecorder = this;
}

ProgramRecorder::~ProgramRecorder()
{
    activeRecorder = m_previous;
}

void EndProgram(int status)
{
    // A failure already on record stays: the plain end of a quit whose settings a signal-driven
    // close could not save must not report success.
    int &kept = activeRecorder ? activeRecorder->lastStatus : exitStatus;
    if (kept == 0)
        kept = status;
    if (activeRecorder) {
        ++activeRecorder->endCount;
        return;
    }
    // Leaving the event loop lets main return without closing the window, so no close
    // handler runs and nothing more is saved.
    QCoreApplication::exit(exitStatus);
}

int programExitStatus()
{
    return exitStatus;
}

void ShellOpen(const QUrl &url)
{
    if (activeRecorder) {
        activeRecorder->opened.push_back(url);
        return;
    }
    QDesktopServices::openUrl(url); // the result is deliberately not examined
}

} // namespace pelko
