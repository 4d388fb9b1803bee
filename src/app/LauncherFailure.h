#pragma once

#include <QString>

namespace pelko {

// The launcher's way to tell a player who started the program from the desktop menu, and so has
// no terminal, why it could not start: the failure named by kind, about folder, in the program's
// own message box (critical icon, application title). Returns the exit status: 1, or 2 for a
// kind the launcher does not use, which shows nothing.
int showLauncherFailure(const QString &kind, const QString &folder);

} // namespace pelko
