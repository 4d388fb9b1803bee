#include "Layout.h"

#include "toolkit/Twips.h"

#include <cstring>
#include <iterator>
#include <stdexcept>

namespace pelko {
namespace {

// The main window. Left column: selectors, keyword search, the list and the counters; right
// column: the quest's details, its progress and the confirmation switch.
//
// Drawn for the Windows UI face; in the Linux gothic faces some texts run wider or sit lower,
// so a few boxes reach further into the free space beside them, never over a neighbour: the
// four counters to the next counter or the right column (x 4200), wide enough for 32,766
// quests; the captions over the selectors and the list end where those begin; the tree-view
// check box is high enough for its mark; the options, the reward caption and the content
// caption run on to the next control. The keyword box and its button stand 30 twips lower, clear
// of the frame's caption.
constexpr ControlPlace kPlaces[] = {
    {"txtReward2", 5280, 4800, 3255, 615},
    {"txtReward1", 5280, 4080, 3255, 615},
    {"chkMsgBox", 5280, 6240, 3375, 255},
    {"chkTreeView", 1750, 2040, 2450, 240},
    {"txtProcess", 4200, 960, 4335, 3015},
    {"SearchItems", 120, 1200, 3855, 660},
    {"txtSearchItems", 120, 270, 2895, 270},
    {"cmdSearchItems", 3120, 270, 615, 270},
    {"SearchCondition", 120, 120, 3855, 915},
    {"cboState", 2160, 480, 1575, 300},
    {"cboCountry", 120, 480, 1935, 300},
    {"lblState", 2160, 240, 1335, 240},
    {"lblCountry", 120, 240, 1575, 240},
    {"QuestState", 4200, 5520, 4335, 615},
    {"optQuestState2", 1800, 240, 1200, 255},
    {"optQuestState1", 3000, 240, 1215, 255},
    {"optQuestState0", 120, 240, 1680, 255},
    {"txtClient", 4200, 360, 4335, 270},
    {"lstQuestList", 120, 2280, 3855, 3660},
    {"lblReward2", 4200, 4920, 1095, 255},
    {"lblDisplayQuest", 240, 6120, 1920, 255},
    {"lblCompletePercentage", 2160, 6360, 2040, 255},
    {"lblCompletedQuest", 2160, 6120, 2040, 255},
    {"lblNumberOfContents", 240, 6360, 1920, 255},
    {"lblReward1", 4200, 4320, 1080, 255},
    {"lblProcess", 4200, 720, 4335, 255},
    {"lblClient", 4200, 120, 975, 255},
    {"lblQuestList", 120, 2040, 1095, 240},
    // The About dialog. The first title runs wider, for the Linux gothic faces, whose Latin
    // letters are wider than the Windows face the box was drawn for; the version stands on the
    // address line under the OK button, since over the end of the large title the two texts
    // would be drawn over each other; the disclaimer is high enough for four wrapped lines.
    {"picIcon", 120, 120, 720, 720},
    {"lblTitle1", 960, 120, 3135, 255},
    {"lblTitle2", 1080, 300, 2925, 360},
    {"lblVersion", 3495, 720, 1770, 255},
    {"lblURL", 960, 720, 2535, 255},
    {"Line1", 120, 1080, 5160, 60},
    {"lblDisclaimer", 240, 1200, 4935, 1005},
    {"cmdOK", 4200, 120, 1065, 345},
};

} // namespace

const ControlPlace &controlPlace(const char *name)
{
    for (const ControlPlace &p : kPlaces) {
        if (std::strcmp(p.name, name) == 0)
            return p;
    }
    throw std::logic_error(name);
}

void placeWidget(QWidget *widget, const char *name, qreal dpi)
{
    const ControlPlace &p = controlPlace(name);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twipsRect(p.left, p.top, p.width, p.height, dpi));
}

} // namespace pelko
