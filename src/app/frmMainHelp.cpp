// The Help menu of the main window.
#include "frmMain.h"

#include "AppInfo.h"
#include "frmAbout.h"

namespace pelko {

void frmMain::mnuCallWeb_Click()
{
    OpenAuthorPage();
}

void frmMain::OpenAuthorPage()
{
    openAuthorPage();
}

void frmMain::mnuHelpAbort_Click()
{
    // Loaded anew for every showing, modal over the main window.
    frmAbout about(this);
    about.exec();
}

} // namespace pelko
