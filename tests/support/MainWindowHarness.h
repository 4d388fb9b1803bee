#pragma once

#include "DatabaseBuilder.h"
#include "WorkDir.h"
#include "frmMain.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Program.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

class QRadioButton;

namespace pelko::test {

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

    // Every save attempt of the program, by file name, since the harness was made.
    int saves(const QString &fileName) const { return m_saves.count(fileName); }
    // The texts of the quest list, in order.
    QStringList listTexts();

    template <typename T>
    T *child(const QString &name)
    {
        T *w = m_window->findChild<T *>(name);
        if (!w)
            qFatal("no child %s", qPrintable(name));
        return w;
    }

private:
    QTemporaryDir m_lockDir; // the lock lives apart, so the working folder holds only data
    MessageBoxScript m_boxes;
    ProgramRecorder m_program;
    std::unique_ptr<frmMain> m_window;
    QStringList m_saves;
};

// A started main window over a fresh folder holding a database of the given quests and, unless
// left out, the progress and settings files (by default: nothing done, no confirmation).
struct TestWindow {
    explicit TestWindow(const std::vector<Quest> &quests,
                        const std::optional<QByteArray> &progress = QByteArray("0,0\r\n"),
                        const std::optional<QByteArray> &ini = QByteArray("0,0,0,1\r\n"));

    template <typename T>
    T *child(const char *name)
    {
        return h->child<T>(QString::fromLatin1(name));
    }
    ListBox *list();
    QRadioButton *option(int k);
    QString label(const char *name);
    QByteArray file(const QString &name) const { return dir.read(name).value_or("(none)"); }

    WorkDir dir;
    std::unique_ptr<MainWindowHarness> h;
    bool started = false;
};

} // namespace pelko::test
