// Changing a quest's progress, and the statistics of the main window.
#include "frmMain.h"

#include "Texts.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBox.h"
#include "toolkit/OptionArray.h"

#include <QLabel>

namespace pelko {

void frmMain::optQuestState_Click(int index)
{
    // Programmatic selections and a click on the selected option end here, so the nested calls
    // below never prompt or save a second time.
    if (!m_tracker.isChange(intDisplayNumber, index))
        return;
    const bool accepted = chkMsgBox->value() != 0
                          || MsgBox(m_tracker.confirmationPrompt(intDisplayNumber, index),
                                    MsgButtons::OkCancel, MsgIcon::None)
                                 == MsgResult::Ok;
    if (!accepted) {
        showOption(m_tracker.shownOption(intDisplayNumber));
        lstQuestList->setFocus();
    } else {
        // Stored before anything can re-enter the handler; a failed save is reported and the
        // change stands in memory.
        if (!m_tracker.changeProgress(intDisplayNumber, index))
            MsgBox(texts::writeError(), MsgButtons::Ok, MsgIcon::Critical);
        const int selected = lstQuestList->listIndex();
        const int countBefore = DisplayCount;
        RefreshQuestList();
        const int position =
            QuestTracker::positionAfterRebuild(selected, countBefore, DisplayCount);
        if (position >= 0) {
            lstQuestList->setFocus();
            lstQuestList->setTopIndex(position);
            lstQuestList->setListIndex(position); // shows the quest now at this position
        }
    }
    UpdateStatistics();
}

// Selecting the option raises optQuestState_Click, which ends at its guard.
void frmMain::showOption(std::optional<int> option)
{
    if (option)
        optQuestState->setValue(*option);
    else
        optQuestState->clearAll(); // an unknown stored value, or no progress entry at all
}

void frmMain::UpdateStatistics()
{
    const ProgressStatistics s = m_tracker.statistics();
    lblCompletedQuest->setText(s.completedCaption);
    lblCompletePercentage->setText(s.rateCaption);
}

} // namespace pelko
