#pragma once

#include "TestSupport.h"
#include "frmMain.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Program.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>

class QDialog;

namespace pelko::test {

// The program's messages, as the player reads them.
inline const QString kFatal =
    QStringLiteral("クエスト情報ファイルの読み込みに失敗したので、強制終了します。");
inline const QString kDamaged = QStringLiteral("クリア状況データが破損している可能性があります。");
inline const QString kWriteError = QStringLiteral("データ書き込み中にエラーが発生しました。");

// The real main window over a test folder, with every message box recorded and answered from a
// script and the program's end and the shell recorded, so nothing blocks or leaves the process.
class MainWindowHarness
{
public:
    // lockPath: the single-instance lock; by default one of the harness's own.
    explicit MainWindowHarness(const WorkDir &dir, const QString &lockPath = {});
    ~MainWindowHarness();

    // Runs the start-up; shows the window when it succeeded.
    bool start();

    frmMain &window() { return *m_window; }
    MessageBoxScript &boxes() { return m_boxes; }
    ProgramRecorder &program() { return m_program; }
    // Every message box shown so far, in order: "critical: ", "information: " or nothing, then
    // its text.
    QStringList messages() const;
    // Every save attempt of the program, by file name, since the harness was made.
    int saves(const QString &fileName) const { return m_saves.count(fileName); }

    template <typename T> T *child(const QString &name)
    {
        T *w = m_window->findChild<T *>(name);
        if (!w)
            qFatal("no child %s", qPrintable(name));
        return w;
    }
    ListBox *list() { return child<ListBox>(QStringLiteral("lstQuestList")); }
    QStringList listTexts();
    QRadioButton *option(int k)
    {
        return child<QRadioButton>(QStringLiteral("optQuestState%1").arg(k));
    }
    QString label(const QString &name) { return child<QLabel>(name)->text(); }

private:
    QTemporaryDir m_lockDir; // the lock lives apart, so the working folder holds only data
    MessageBoxScript m_boxes;
    ProgramRecorder m_program;
    std::unique_ptr<frmMain> m_window;
    QStringList m_saves;
};

// Runs open(), which shows a modal dialog and returns once it is closed; inspect() runs while the
// dialog is shown (not at all when none is), and the dialog is rejected afterwards, so that a
// failing check never blocks.
void whileModalShown(const std::function<void()> &open,
                     const std::function<void(QDialog *)> &inspect);

// A started main window over a Folder (by default: nothing done, no confirmation). A start that
// fails is recorded as the running test's failure.
struct TestWindow : Folder, MainWindowHarness {
    explicit TestWindow(const std::vector<Quest> &quests,
                        const std::optional<QByteArray> &progress = QByteArray("0,0\r\n"),
                        const std::optional<QByteArray> &ini = QByteArray("0,0,0,1\r\n"));
};

} // namespace pelko::test
