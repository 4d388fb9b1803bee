#include "frmMain.h"

#include "AppInfo.h"
#include "Layout.h"
#include "SelectorItems.h"
#include "Texts.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBox.h"
#include "toolkit/OptionArray.h"
#include "toolkit/Program.h"
#include "toolkit/RichTextBox.h"
#include "toolkit/ShortcutGuard.h"
#include "toolkit/TerminationSignal.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <cstdio>

namespace pelko {
namespace {

QLabel *captionLabel(const QString &text, const char *name, QWidget *parent, qreal dpi)
{
    auto *label = place(new QLabel(text, parent), name, dpi);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmMain::frmMain(ProgramPaths paths, QWidget *parent)
    : QMainWindow(parent), m_instance(paths.lockFiles, paths.workDir),
      m_tracker(paths.workDir, std::move(paths.startedLoad))
{
    setObjectName(QStringLiteral("frmMain"));
    // A fixed frame: no maximise button, no resizing; the minimise button stays.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    buildControls();
    buildMenus();
    setTabOrder();
    connectHandlers();
    const qreal dpi = screenDpi(this);
    centralWidget()->setFixedSize(twipsToPixels(kMainClientWidth, dpi),
                                  twipsToPixels(kMainClientHeight, dpi));
    setFixedSize(sizeHint());
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);
    const qreal dpi = screenDpi(this);

    SearchCondition =
        place(new QGroupBox(QStringLiteral("検索条件"), client), "SearchCondition", dpi);
    lblState = captionLabel(QStringLiteral("クリア状況"), "lblState", SearchCondition, dpi);
    lblCountry =
        captionLabel(QStringLiteral("クエスト発生場所"), "lblCountry", SearchCondition, dpi);
    cboState = place(new ComboBox(SearchCondition), "cboState", dpi);
    cboCountry = place(new ComboBox(SearchCondition), "cboCountry", dpi);

    SearchItems =
        place(new QGroupBox(QStringLiteral("キーワードから逆引き"), client), "SearchItems", dpi);
    txtSearchItems = place(new TextBox(SearchItems), "txtSearchItems", dpi);
    cmdSearchItems =
        place(new QPushButton(QStringLiteral("検索"), SearchItems), "cmdSearchItems", dpi);
    cmdSearchItems->setEnabled(false);

    lblQuestList = captionLabel(QStringLiteral("クエスト一覧"), "lblQuestList", client, dpi);
    chkTreeView =
        place(new CheckBox(QStringLiteral("連続クエストをツリー表示"), client), "chkTreeView", dpi);
    lstQuestList = place(new ListBox(client), "lstQuestList", dpi);

    // Placeholders until start-up shows the figures.
    const QString zeros = QStringLiteral("000");
    lblDisplayQuest =
        captionLabel(texts::displayCountCaption(zeros), "lblDisplayQuest", client, dpi);
    lblCompletedQuest =
        captionLabel(texts::completedCaption(zeros), "lblCompletedQuest", client, dpi);
    lblNumberOfContents =
        captionLabel(texts::numberOfContentsCaption(zeros), "lblNumberOfContents", client, dpi);
    lblCompletePercentage = captionLabel(texts::completionRateCaption(QStringLiteral("00.00")),
                                         "lblCompletePercentage", client, dpi);

    lblClient = captionLabel(QStringLiteral("受注場所"), "lblClient", client, dpi);
    txtClient = place(new TextBox(client), "txtClient", dpi);
    txtClient->setReadOnly(true); // the program never reads it back
    lblProcess =
        captionLabel(QStringLiteral("クエスト内容・クリア方法"), "lblProcess", client, dpi);
    txtProcess = place(new RichTextBox(client), "txtProcess", dpi);
    lblReward1 = captionLabel(QStringLiteral("報　酬"), "lblReward1", client, dpi);
    txtReward1 = place(new RichTextBox(client), "txtReward1", dpi);
    lblReward2 = captionLabel(QStringLiteral("リプレイ報酬"), "lblReward2", client, dpi);
    txtReward2 = place(new RichTextBox(client), "txtReward2", dpi);

    QuestState = place(new QGroupBox(QStringLiteral("クリア状況"), client), "QuestState", dpi);
    auto *opt0 = place(new QRadioButton(QStringLiteral("やっていない(&Z)"), QuestState),
                       "optQuestState0", dpi);
    auto *opt2 =
        place(new QRadioButton(QStringLiteral("保留(&X)"), QuestState), "optQuestState2", dpi);
    auto *opt1 =
        place(new QRadioButton(QStringLiteral("クリア(&C)"), QuestState), "optQuestState1", dpi);
    optQuestState = new OptionArray({opt0, opt1, opt2}, this);
    chkMsgBox = place(new CheckBox(QStringLiteral("クリア状況を変更するときに確認しない"), client),
                      "chkMsgBox", dpi);

    // Screen readers name each box after the caption that stands beside it.
    const std::pair<QLabel *, QWidget *> captions[] = {
        {lblCountry, cboCountry}, {lblState, cboState},     {lblQuestList, lstQuestList},
        {lblClient, txtClient},   {lblProcess, txtProcess}, {lblReward1, txtReward1},
        {lblReward2, txtReward2},
    };
    for (const auto &[label, box] : captions) {
        label->setBuddy(box);
        box->setAccessibleName(label->text());
    }
    txtSearchItems->setAccessibleName(SearchItems->title());

    // The empty detail pane: nothing shown, no progress to change.
    QuestState->setEnabled(false);
}

void frmMain::buildMenus()
{
    QMenu *mnuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuExit = mnuFile->addAction(QStringLiteral("終了(&Q)"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *mnuHelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuCallWeb = mnuHelp->addAction(QStringLiteral("作者のサイトへ(&W)"));
    mnuCallWeb->setObjectName(QStringLiteral("mnuCallWeb"));
    mnuCallWeb->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuHelpAbort = mnuHelp->addAction(QStringLiteral("バージョン情報(&A)"));
    mnuHelpAbort->setObjectName(QStringLiteral("mnuHelpAbort"));
    mnuHelpAbort->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));

    // The three commands work at any time, also while a text box has the focus.
    auto *guard = new ShortcutGuard(
        {mnuExit->shortcut(), mnuCallWeb->shortcut(), mnuHelpAbort->shortcut()}, this);
    for (QWidget *box :
         std::initializer_list<QWidget *>{txtSearchItems, txtClient, txtProcess, txtReward1,
                                          txtReward2, lstQuestList, cboCountry, cboState})
        box->installEventFilter(guard);
}

void frmMain::setTabOrder()
{
    const QWidget *order[] = {cboCountry,
                              cboState,
                              txtSearchItems,
                              cmdSearchItems,
                              chkTreeView,
                              lstQuestList,
                              optQuestState->button(0),
                              optQuestState->button(2),
                              optQuestState->button(1),
                              txtClient,
                              txtProcess,
                              chkMsgBox,
                              txtReward1,
                              txtReward2};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget *>(order[i]), const_cast<QWidget *>(order[i + 1]));
    for (QLabel *label : findChildren<QLabel *>())
        label->setFocusPolicy(Qt::NoFocus);
}

void frmMain::connectHandlers()
{
    connect(cboCountry, &ComboBox::Click, this, &frmMain::cboCountry_Click);
    connect(cboState, &ComboBox::Click, this, &frmMain::cboState_Click);
    connect(chkTreeView, &CheckBox::Click, this, &frmMain::chkTreeView_Click);
    connect(txtSearchItems, &TextBox::Change, this, &frmMain::txtSearchItems_Change);
    connect(cmdSearchItems, &QPushButton::clicked, this, &frmMain::cmdSearchItems_Click);
    // Enter in the keyword box searches, as the button would.
    connect(txtSearchItems, &QLineEdit::returnPressed, this, [this] {
        if (cmdSearchItems->isEnabled())
            cmdSearchItems->click();
    });
    connect(lstQuestList, &ListBox::Click, this, &frmMain::lstQuestList_Click);
    connect(optQuestState, &OptionArray::Click, this, &frmMain::optQuestState_Click);
    connect(mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);
    connect(mnuCallWeb, &QAction::triggered, this, &frmMain::mnuCallWeb_Click);
    connect(mnuHelpAbort, &QAction::triggered, this, &frmMain::mnuHelpAbort_Click);
}

// ---------------------------------------------------------------- start-up and shutdown

bool frmMain::Form_Load()
{
    if (!m_instance.tryAcquire()) {
        MsgBox(texts::secondCopy(), MsgButtons::Ok, MsgIcon::Critical);
        EndProgram();
        return false;
    }
    setWindowTitle(mainWindowTitle());
    centreOnScreen();
    if (!LoadQuestData())
        return false;
    // Only while no other copy, of any user or session, can be saving into the folder: a
    // temporary file of its save in progress is no leftover.
    if (m_instance.holdsFolder())
        m_tracker.removeSaveLeftovers();
    LoadClearStatus(); // sizes the progress table to the quests first
    fillSelectors();
    UpdateStatistics();
    LoadSettings();
    return true;
}

void frmMain::centreOnScreen()
{
    // The outer size, frame and title bar included, on the whole screen; a window larger than
    // the screen gets a negative edge rather than being clamped.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        centreFrameOn(this, screen->geometry());
}

bool frmMain::LoadQuestData()
{
    if (!m_tracker.LoadQuestData()) {
        MsgBox(texts::databaseUnreadable(), MsgButtons::Ok, MsgIcon::Critical);
        EndProgram(1);
        return false;
    }
    lblNumberOfContents->setText(
        texts::numberOfContentsCaption(QString::number(m_tracker.intNumberOfContents())));
    return true;
}

void frmMain::LoadClearStatus()
{
    switch (m_tracker.LoadClearStatus()) {
    case ProgressNotice::FirstRun:
        MsgBox(texts::firstRunNotice(), MsgButtons::Ok, MsgIcon::Information);
        break;
    case ProgressNotice::Damaged:
        MsgBox(texts::damagedProgress(), MsgButtons::Ok, MsgIcon::Critical);
        break;
    case ProgressNotice::None:
        break;
    }
}

void frmMain::fillSelectors()
{
    cboCountry->clearItems();
    for (const RegionItem &item : regionSelectorItems())
        cboCountry->addListItem(item.text, item.region);
    cboCountry->setListIndex(0); // builds the first list; the state selector is still empty

    cboState->clearItems();
    for (const QString &item : stateSelectorItems())
        cboState->addListItem(item);
    cboState->setListIndex(0);
}

void frmMain::LoadSettings()
{
    // Each choice is set to its default first, then to the restored value; each setting raises
    // the control's handler as the player's own change would.
    const WindowSettings s = m_tracker.LoadSettings();
    cboCountry->setListIndex(0);
    cboCountry->setListIndex(s.regionItem);
    cboState->setListIndex(0);
    cboState->setListIndex(s.stateItem);
    chkTreeView->setValue(0);
    chkTreeView->setValue(s.treeView);
    chkMsgBox->setValue(0);
    chkMsgBox->setValue(s.noConfirmation);
}

void frmMain::SaveSettings()
{
    const WindowSettings s{cboCountry->listIndex(), cboState->listIndex(), chkTreeView->value(),
                           chkMsgBox->value()};
    if (m_tracker.SaveSettings(s))
        return;
    if (closingOnSignal()) {
        // At logout a box would wait for no one and hold up the session's end: the failure goes
        // to the error output, and the exit status says that the settings were not saved.
        std::fputs(qPrintable(QStringLiteral("pelko: ") + texts::writeError() + u'\n'), stderr);
        EndProgram(1);
        return;
    }
    MsgBox(texts::writeError(), MsgButtons::Ok, MsgIcon::Critical, applicationTitle());
    // A signal that came while the box was up dismissed it unanswered: the end it brings reports
    // the failure in the exit status, as a signal-driven close does.
    if (terminationSignalled())
        EndProgram(1);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept(); // the close always goes ahead
}

void frmMain::Form_QueryUnload()
{
    SaveSettings();
}

void frmMain::mnuExit_Click()
{
    SaveSettings();
    EndProgram();
}

} // namespace pelko
