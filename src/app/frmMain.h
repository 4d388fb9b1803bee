#pragma once

#include "QuestTracker.h"
#include "SingleInstance.h"

#include <QMainWindow>

#include <cstdint>
#include <optional>

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
class RichTextBox;
class TextBox;

// Where the program finds its files and its single-instance lock.
struct ProgramPaths {
    QString workDir;       // Pelko.dat, clr_stat.dat and Pelko.ini; locked while the program runs
    QStringList lockFiles; // one per user, tried in order
    // The load of workDir's Pelko.dat, when started before the window (QuestTracker::startLoading).
    std::unique_ptr<QuestDataLoad> startedLoad = {};
};

// The main window: every control, and the tracker that holds the program's state. Each handler
// reads its controls, makes one call on the tracker and shows the answer, in the order the
// handlers must run.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(ProgramPaths paths, QWidget *parent = nullptr);
    ~frmMain() override;

    // Runs the whole start-up while the window is hidden. False when the program has ended
    // during it (a second copy, an unreadable database): the window must not be shown.
    bool Form_Load();

    // The row shown in the detail pane, 0 when none.
    std::int16_t intDisplayNumber = 0;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void setTabOrder();
    void connectHandlers();
    void centreOnScreen();

    // Start-up and shutdown
    bool LoadQuestData();
    void LoadClearStatus();
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
    void showList(QuestList list);
    FilterSelection selectorsNow() const;
    void txtSearchItems_Change();
    void cmdSearchItems_Click();
    void lstQuestList_Click();
    void clearDetailPane();

    // Progress
    void optQuestState_Click(int index);
    void showOption(std::optional<int> option);
    void UpdateStatistics();

    // Help
    void mnuCallWeb_Click();
    void mnuHelpAbort_Click();
    void OpenAuthorPage();

    SingleInstance m_instance;
    QuestTracker m_tracker;
    std::int16_t DisplayCount = 0;

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
