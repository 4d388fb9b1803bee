// The quest list, the keyword search and the detail pane of the main window.
#include "frmMain.h"

#include "KeywordSearch.h"
#include "QuestDetail.h"
#include "QuestListBuilder.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBox.h"
#include "toolkit/OptionArray.h"
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
    LastChainGroup = 0;
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
    for (int k = 0; k < 3; ++k)
        optQuestState->setButtonEnabled(k, false);
    optQuestState->clearAll();
}

// The selectors are read afresh for every list, never cached between rebuilds.
FilterSelection frmMain::selectorsNow() const
{
    return {cboCountry->listIndex(), cboCountry->currentText(), cboState->listIndex()};
}

void frmMain::RefreshQuestList()
{
    if (!m_catalog)
        return; // the selectors are only filled once the database is loaded
    ClearQuestList();
    DisplayCount = 0;
    const QuestFilter filter(m_catalog->table(), m_clearStatusTable, selectorsNow());
    const bool tree = chkTreeView->value() == 1 && !Searching;
    QuestListBuilder builder(*m_catalog, filter, tree ? ListPresentation::Tree : ListPresentation::Flat);
    builder.addAllRows();
    showList(builder);
}

// Hands the built list to the list box in one batch and shows its count.
void frmMain::showList(QuestListBuilder &builder)
{
    DisplayCount = builder.DisplayCount();
    LastChainGroup = builder.LastChainGroup();
    std::vector<ListBox::Item> items;
    std::vector<ListEntry> entries = builder.takeEntries();
    items.reserve(entries.size());
    for (ListEntry &e : entries)
        items.push_back({std::move(e.text), e.row});
    lstQuestList->setItems(std::move(items));
    lblDisplayQuest->setText(QStringLiteral("表示数： ") + QString::number(DisplayCount));
}

void frmMain::txtSearchItems_Change()
{
    cmdSearchItems->setEnabled(!txtSearchItems->text().isEmpty());
}

void frmMain::cmdSearchItems_Click()
{
    const QString keyword = txtSearchItems->text();
    if (keyword.isEmpty()) {
        MsgBox(emptyKeywordMessage(), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    Searching = true;
    ClearQuestList();
    DisplayCount = 0;
    const QuestTable &table = m_catalog->table();
    const QuestFilter filter(table, m_clearStatusTable, selectorsNow());
    QuestListBuilder builder(*m_catalog, filter, ListPresentation::Flat);
    const std::int16_t n = table.count();
    for (std::int16_t r = 1; r <= n && r > 0; ++r) {
        if (rowContainsKeyword(table.row(r), keyword))
            builder.AddQuestToList(r);
    }
    showList(builder);
    Searching = false;
}

void frmMain::lstQuestList_Click()
{
    // Each entry carries the row it was made from, so two quests of the same name, or a name
    // that begins with a tree prefix, each show their own row.
    const int index = lstQuestList->listIndex();
    const int row = index >= 0 ? lstQuestList->itemData(index) : 0;
    if (!m_catalog || !m_catalog->table().isRow(row)) {
        clearDetailPane();
        return;
    }
    intDisplayNumber = static_cast<std::int16_t>(row);
    const QuestDetail detail = detailOf(m_catalog->table(), m_clearStatusTable, row);
    txtClient->setText(detail.client);
    txtProcess->setText(detail.process);
    txtReward1->setText(detail.reward1);
    txtReward2->setText(detail.reward2);
    // Selecting the stored option raises optQuestState_Click, which ends at its guard.
    if (detail.option)
        optQuestState->setValue(*detail.option, true);
    else
        optQuestState->clearAll(); // an unknown stored value, or no progress entry at all
    QuestState->setEnabled(true);
    for (int k = 0; k < 3; ++k)
        optQuestState->setButtonEnabled(k, detail.changeable);
}

} // namespace pelko
