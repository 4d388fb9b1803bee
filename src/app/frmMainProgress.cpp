// Changing a quest's progress, and the statistics of the main window.
#include "frmMain.h"

#include "StateChange.h"
#include "Statistics.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBox.h"
#include "toolkit/OptionArray.h"

#include <QLabel>

namespace pelko {

void frmMain::optQuestState_Click(int index)
{
    if (!m_catalog || !m_catalog->table().isRow(intDisplayNumber))
        return;
    const QuestRecord &quest = m_catalog->table().row(intDisplayNumber);
    // A quest number without a progress entry cannot be changed (its options stay disabled).
    const auto stored = m_clearStatusTable.progressOf(quest.QuestNo);
    // Programmatic selections and a click on the selected option end here.
    if (!stored || index == *stored)
        return;

    const bool accepted = chkMsgBox->value() != 0
                          || MsgBox(confirmationPrompt(quest.QuestName, index),
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
        // Stored before anything can re-enter the handler, so every re-entry ends at the guard.
        m_clearStatusTable.set(quest.QuestNo, static_cast<std::uint8_t>(index));
        SaveClearStatus();
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
    intCompletedQuest = countCompleted(m_clearStatusTable);
    lblCompletedQuest->setText(completedCaption(intCompletedQuest));
    lblCompletePercentage->setText(completionRateCaption(intCompletedQuest, intNumberOfContents));
}

} // namespace pelko
