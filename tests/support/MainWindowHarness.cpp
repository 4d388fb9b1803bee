#include "MainWindowHarness.h"

#include "toolkit/Fonts.h"

#include <QApplication>

namespace pelko::test {

MainWindowHarness::MainWindowHarness(const WorkDir &dir)
{
    QApplication::setFont(japaneseUiFont());
    m_window = std::make_unique<frmMain>(ProgramPaths{dir.path(), m_lockDir.filePath(QStringLiteral("pelko.lock"))});
}

MainWindowHarness::~MainWindowHarness() = default;

bool MainWindowHarness::start()
{
    if (!m_window->Form_Load())
        return false;
    m_window->show();
    m_window->activateWindow();
    return QTest::qWaitForWindowActive(m_window.get());
}

} // namespace pelko::test
