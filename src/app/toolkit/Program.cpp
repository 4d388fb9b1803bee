#include "Program.h"

#include <QCoreApplication>
#include <QDesktopServices>

namespace pelko {
namespace {

ProgramRecorder *activeRecorder = nullptr;
bool ended = false;

} // namespace

ProgramRecorder::ProgramRecorder() : m_previous(activeRecorder)
{
    activeRecorder = this;
}

ProgramRecorder::~ProgramRecorder()
{
    activeRecorder = m_previous;
}

void EndProgram()
{
    if (activeRecorder) {
        ++activeRecorder->endCount;
        return;
    }
    ended = true;
    // Leaving the event loop lets main return without closing the window, so no close
    // handler runs and nothing more is saved.
    QCoreApplication::exit(0);
}

bool programEnded()
{
    return ended;
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
