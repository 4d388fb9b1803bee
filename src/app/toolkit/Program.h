#pragma once

#include <QUrl>

#include <vector>

namespace pelko {

// Ends the program at once: no close handler of any window runs. Before the event loop has
// started, the caller returns to main, which then does not start it and returns the status.
// A status other than 0 tells whoever started the program that it could not run, or could not
// save what it had to; once given, a later call does not take it back.
void EndProgram(int status = 0);
int programExitStatus();

// Asks the desktop to open a web address in the user's browser; a failure is silent.
void ShellOpen(const QUrl &url);

// While one exists, EndProgram and ShellOpen are recorded instead of carried out.
class ProgramRecorder
{
public:
    ProgramRecorder();
    ~ProgramRecorder();
    ProgramRecorder(const ProgramRecorder &) = delete;
    ProgramRecorder &operator=(const ProgramRecorder &) = delete;

    int endCount = 0;
    int lastStatus = 0; // the status the program would end with
    std::vector<QUrl> opened;

private:
    ProgramRecorder *m_previous;
};

} // namespace pelko
