#include "MainWindowHarness.h"

#include "FileStore.h"
#include "toolkit/Fonts.h"
#include "toolkit/ListBox.h"

#include <QApplication>
#include <QFileInfo>

namespace pelko::test {

MainWindowHarness::MainWindowHarness(const WorkDir &dir, const QString &lockPath)
{
    QApplication::setFont(japaneseUiFont());
    setSaveObserver([this](const QString &path) { m_saves << QFileInfo(path).fileName(); });
    m_window = std::make_unique<frmMain>(ProgramPaths{
        dir.path(), lockPath.isEmpty() ? m_lockDir.filePath(QStringLiteral("pelko.lock")) : lockPath});
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

} // namespace pelko::test
