#include "MainWindowHarness.h"

#include "FileStore.h"
#include "toolkit/Fonts.h"
#include "toolkit/ListBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>

namespace pelko::test {

MainWindowHarness::MainWindowHarness(const WorkDir &dir, const QString &lockPath)
{
    QApplication::setFont(japaneseUiFont());
    setSaveObserver([this](const QString &path) { m_saves << QFileInfo(path).fileName(); });
    m_window = std::make_unique<frmMain>(ProgramPaths{
        dir.path(),
        {lockPath.isEmpty() ? m_lockDir.filePath(QStringLiteral("pelko.lock")) : lockPath}});
}

MainWindowHarness::~MainWindowHarness()
{
    setSaveObserver({});
}

QStringList MainWindowHarness::listTexts()
{
    auto *list = child<ListBox>(QStringLiteral("lstQuestList"));
    QStringList texts;
    for (int i = 0; i < list->listCount(); ++i)
        texts << list->text(i);
    return texts;
}

bool MainWindowHarness::start()
{
    if (!m_window->Form_Load())
        return false;
    m_window->show();
    m_window->activateWindow();
    return QTest::qWaitForWindowActive(m_window.get());
}

TestWindow::TestWindow(const std::vector<Quest> &quests, const std::optional<QByteArray> &progress,
                       const std::optional<QByteArray> &ini)
{
    dir.write(QStringLiteral("Pelko.dat"), databaseBytes(quests));
    if (progress)
        dir.write(QStringLiteral("clr_stat.dat"), *progress);
    if (ini)
        dir.write(QStringLiteral("Pelko.ini"), *ini);
    h = std::make_unique<MainWindowHarness>(dir);
    started = h->start();
}

ListBox *TestWindow::list()
{
    return child<ListBox>("lstQuestList");
}

QRadioButton *TestWindow::option(int k)
{
    return h->child<QRadioButton>(QStringLiteral("optQuestState%1").arg(k));
}

QString TestWindow::label(const char *name)
{
    return child<QLabel>(name)->text();
}

} // namespace pelko::test
