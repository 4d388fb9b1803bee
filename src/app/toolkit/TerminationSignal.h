#pragma once

class QWidget;

namespace pelko {

// From now on SIGTERM (sent at logout, by `kill` and by service managers), SIGHUP (the terminal
// the program was started from went away) and SIGINT (Ctrl+C in that terminal) end the program
// as closing the window does: its close handler runs, so the settings are saved, and nothing
// else. Without this, the default action ends the process on the spot and the settings of the
// session are lost.
//
// A modal dialog open at that moment is dismissed first, as Esc would (a pending question is
// answered Cancel), so that nothing it guards is done after the window has closed.
//
// Install it once the window is shown: before that, nothing has been restored that could be
// saved, and the signal's default action is the right end.
void closeOnTerminationSignal(QWidget *window);

// True while the window is being closed on such a signal. No one may be there to answer a
// message box then (the session is ending and waits for the program), so the close handler must
// report a failure without asking anything.
bool closingOnSignal();

// True once such a signal has come. A box that was open then has been dismissed unanswered, and
// the window may have been closing already (the player's own quit), so that the signal's close
// had nothing left to do: whoever showed the box tells the end from this.
bool terminationSignalled();

} // namespace pelko
