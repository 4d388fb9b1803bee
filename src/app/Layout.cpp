#include "Layout.h"

#include "toolkit/Twips.h"

#include <cstring>
#include <iterator>
#include <stdexcept>

namespace pelko {
namespace {

// The main window. Left column: selectors, keyword search, the list and the counters; right
// column: the quest's details, its progress and the confirmation switch.
constexpr ControlPlace kPlaces[] = {
    {"txtReward2", 5280, 4800, 3255, 615},
    {"txtReward1", 5280, 4080, 3255, 615},
    {"chkMsgBox", 5280, 6240, 3375, 255},
    {"chkTreeView", 1750, 2060, 2295, 180},
    {"txtProcess", 4200, 960, 4335, 3015},
    {"SearchItems", 120, 1200, 3855, 660},
    {"txtSearchItems", 120, 240, 2895, 270},
    {"cmdSearchItems", 3120, 240, 615, 255},
    {"SearchCondition", 120, 120, 3855, 915},
    {"cboState", 2160, 480, 1575, 300},
    {"cboCountry", 120, 480, 1935, 300},
    {"lblState", 2160, 285, 1335, 255},
    {"lblCountry", 120, 280, 1575, 255},
    {"QuestState", 4200, 5520, 4335, 615},
    {"optQuestState2", 1800, 240, 975, 255},
    {"optQuestState1", 3000, 240, 1095, 255},
    {"optQuestState0", 120, 240, 1575, 255},
    {"txtClient", 4200, 360, 4335, 270},
    {"lstQuestList", 120, 2280, 3855, 3660},
    {"lblReward2", 4200, 4920, 1095, 255},
    {"lblDisplayQuest", 240, 6120, 1215, 255},
    {"lblCompletePercentage", 2160, 6360, 1575, 255},
    {"lblCompletedQuest", 2160, 6120, 1575, 255},
    {"lblNumberOfContents", 240, 6360, 1695, 255},
    {"lblReward1", 4200, 4320, 495, 255},
    {"lblProcess", 4200, 720, 2055, 255},
    {"lblClient", 4200, 120, 975, 255},
    {"lblQuestList", 120, 2060, 1095, 255},
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

QWidget *placeWidget(QWidget *widget, const char *name, qreal dpi)
{
    const ControlPlace &p = controlPlace(name);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twipsRect(p.left, p.top, p.width, p.height, dpi));
    return widget;
}

} // namespace pelko
