// The quest list, the keyword search and the detail pane of the main window.
#include "frmMain.h"

#include "QuestListSource.h"
#include "Texts.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBox.h"
#include "toolkit/OptionArray.h"
#include "toolkit/RichTextBox.h"
#include "toolkit/TextBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace pelko {

void frmMain::cboCountry_Click()
{
    RefreshQuestList();
}

void frmMain::cboState_Click()
{
    RefreshQuestList();
}

void frmMain::chkTreeView_Click()
{
    RefreshQuestList();
}

void frmMain::ClearQuestList()
{
    lstQuestList->clear();
    clearDetailPane();
}

// The empty pane: no quest shown, no progress selected or changeable.
void frmMain::clearDetailPane()
{
    txtClient->setText(QString());
    txtProcess->setText(QString());
    txtReward1->setText(QString());
    txtReward2->setText(QString());
    intDisplayNumber = 0;
    QuestState->setEnabled(false);
    optQuestState->clearAll();
}

// The selectors are read afresh for every list, never cached between rebuilds.
FilterSelection frmMain::selectorsNow() const
{
    return {cboCountry->listData().value_or(kNoRegionChosen), cboState->listIndex()};
}

void frmMain::RefreshQuestList()
{
    ClearQuestList();
    showList(m_tracker.listFor({selectorsNow(), chkTreeView->value() == 1}));
}

// Hands the built list to the list box and shows its count: the number of entries added.
void frmMain::showList(QuestList list)
{
    DisplayCount = static_cast<std::int16_t>(list.size());
    lstQuestList->setSource(std::make_shared<QuestListSource>(std::move(list), m_tracker));
    lblDisplayQuest->setText(texts::displayCountCaption(QString::number(DisplayCount)));
}

void frmMain::txtSearchItems_Change()
{
    cmdSearchItems->setEnabled(!txtSearchItems->text().isEmpty());
}

void frmMain::cmdSearchItems_Click()
{
    const QString keyword = txtSearchItems->text();
    if (keyword.isEmpty()) {
        MsgBox(texts::emptyKeyword(), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    ClearQuestList();
    showList(m_tracker.searchFor(keyword, selectorsNow())); // always flat and sorted
}

void frmMain::lstQuestList_Click()
{
    // Each entry carries the row it was made from, so two quests of the same name, or a name
    // that begins with a tree mark, each show their own row.
    const int index = lstQuestList->listIndex();
    const int row = index >= 0 ? lstQuestList->itemData(index) : 0;
    const std::optional<QuestDetail> detail = m_tracker.detailOf(row);
    if (!detail) {
        clearDetailPane();
        return;
    }
    intDisplayNumber = static_cast<std::int16_t>(row);
    txtClient->setText(detail->client);
    txtProcess->setText(detail->process);
    txtReward1->setText(detail->reward1);
    txtReward2->setText(detail->reward2);
    showOption(detail->option);
    QuestState->setEnabled(true);
    optQuestState->setButtonsEnabled(detail->changeable);
}

} // namespace pelko
