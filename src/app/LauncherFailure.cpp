#include "LauncherFailure.h"

#include "Texts.h"
#include "toolkit/MessageBox.h"

namespace pelko {

int showLauncherFailure(const QString &kind, const QString &folder)
{
    const QString text = texts::launcherFailure(kind, folder);
    if (text.isEmpty())
        return 2;
    MsgBox(text, MsgButtons::Ok, MsgIcon::Critical);
    return 1;
}

} // namespace pelko
