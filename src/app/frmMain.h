#pragma once

#include "ClearStatus.h"
#include "QuestCatalog.h"
#include "QuestFilter.h"
#include "SingleInstance.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pelko {

class CheckBox;
class ComboBox;
class ListBox;
class OptionArray;
class QuestListBuilder;
class RichTextBox;
class TextBox;

// Where the program finds its files and its single-instance lock.
struct ProgramPaths {
    QString workDir;       // Pelko.dat, clr_stat.dat and Pelko.ini
    QStringList lockFiles; // one per user, tried in order
};

// The main window: it owns the quest table, the progress table and every control, and each
// handler calls the logic of the data, browse and progress layers in the order it requires.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(ProgramPaths paths, QWidget *parent = nullptr);
    ~frmMain() override;

    // Runs the whole start-up while the window is hidden. False when the program has ended
    // during it (a second copy, an unreadable database): the window must not be shown.
    bool Form_Load();

    std::int16_t intNumberOfContents = 0;
    std::int16_t intCompletedQuest = 0;
    std::int16_t intDisplayNumber = 0;

    const QuestTable &questTable() const;
    const ClearStatusTable &clearStatusTable() const { return m_clearStatusTable; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void setTabOrder();
    void connectHandlers();
    void centreOnScreen();
    QString filePath(const QString &name) const;

    // Start-up and shutdown
    bool LoadQuestData();
    void LoadClearStatus();
    void SaveClearStatus();
    void LoadSettings();
    void SaveSettings();
    void fillSelectors();
    void Form_QueryUnload();
    void mnuExit_Click();

    // Quest list, search and details
    void cboCountry_Click();
    void cboState_Click();
    void chkTreeView_Click();
    void ClearQuestList();
    void RefreshQuestList();
    void showList(QuestListBuilder &builder);
    FilterSelection selectorsNow() const;
    void txtSearchItems_Change();
    void cmdSearchItems_Click();
    void lstQuestList_Click();
    void clearDetailPane();

    // Progress
    void optQuestState_Click(int index);
    void UpdateStatistics();

    // Help
    void mnuCallWeb_Click();
    void mnuHelpAbort_Click();
    void OpenAuthorPage();

    ProgramPaths m_paths;
    SingleInstance m_instance;
    std::unique_ptr<QuestCatalog> m_catalog;
    ClearStatusTable m_clearStatusTable;
    bool m_keepProgressFile = false; // it exists but could not be read: never saved over
    std::int16_t DisplayCount = 0;
    std::int16_t LastChainGroup = 0;
    bool Searching = false;

    QGroupBox *SearchCondition = nullptr;
    QGroupBox *SearchItems = nullptr;
    QGroupBox *QuestState = nullptr;
    QLabel *lblCountry = nullptr;
    QLabel *lblState = nullptr;
    ComboBox *cboCountry = nullptr;
    ComboBox *cboState = nullptr;
    TextBox *txtSearchItems = nullptr;
    QPushButton *cmdSearchItems = nullptr;
    QLabel *lblQuestList = nullptr;
    CheckBox *chkTreeView = nullptr;
    ListBox *lstQuestList = nullptr;
    QLabel *lblDisplayQuest = nullptr;
    QLabel *lblCompletedQuest = nullptr;
    QLabel *lblNumberOfContents = nullptr;
    QLabel *lblCompletePercentage = nullptr;
    QLabel *lblClient = nullptr;
    TextBox *txtClient = nullptr;
    QLabel *lblProcess = nullptr;
    RichTextBox *txtProcess = nullptr;
    QLabel *lblReward1 = nullptr;
    RichTextBox *txtReward1 = nullptr;
    QLabel *lblReward2 = nullptr;
    RichTextBox *txtReward2 = nullptr;
    OptionArray *optQuestState = nullptr;
    CheckBox *chkMsgBox = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuCallWeb = nullptr;
    QAction *mnuHelpAbort = nullptr;
};

} // namespace pelko
