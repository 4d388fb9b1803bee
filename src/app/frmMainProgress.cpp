// Changing a quest's progress, and the statistics of the main window.
#include "frmMain.h"

#include "StateChange.h"
#include "Texts.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBox.h"
#include "toolkit/OptionArray.h"

#include <QLabel>

namespace pelko {

void frmMain::optQuestState_Click(int index)
{
    // A quest number without a progress entry cannot be changed (its options stay disabled).
    const std::optional<std::uint8_t> stored = m_tracker.storedProgress(intDisplayNumber);
    // Programmatic selections and a click on the selected option end here.
    if (!stored || index == *stored)
        return;

    const bool accepted = chkMsgBox->value() != 0
                          || MsgBox(m_tracker.confirmationPrompt(intDisplayNumber, index),
                                    MsgButtons::OkCancel, MsgIcon::None)
                                 == MsgResult::Ok;
    if (!accepted) {
        // Re-selecting the stored option re-enters this handler and ends at the guard.
        if (*stored <= OnHold)
            optQuestState->setValue(*stored, true);
        else
            optQuestState->clearAll();
        lstQuestList->setFocus();
    } else {
        // Stored before anything can re-enter the handler, so every re-entry ends at the guard;
        // a failed save is reported and the change stands in memory.
        if (!m_tracker.changeProgress(intDisplayNumber, index))
            MsgBox(texts::writeError(), MsgButtons::Ok, MsgIcon::Critical);
        int position = DisplayCount >= 1 ? lstQuestList->listIndex() : 0;
        RefreshQuestList();
        if (DisplayCount >= 1) {
            lstQuestList->setFocus();
            position = std::max(0, clampListPosition(position, lstQuestList->listCount()));
            lstQuestList->setTopIndex(position);
            lstQuestList->setListIndex(position); // shows the quest now at this position
        }
    }
    UpdateStatistics();
}

void frmMain::UpdateStatistics()
{
    const ProgressStatistics s = m_tracker.UpdateStatistics();
    lblCompletedQuest->setText(s.completedCaption);
    lblCompletePercentage->setText(s.rateCaption);
}

} // namespace pelko
