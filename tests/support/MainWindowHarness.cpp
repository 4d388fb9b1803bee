#include "MainWindowHarness.h"

#include "FileStore.h"
#include "toolkit/Fonts.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

namespace pelko::test {

MainWindowHarness::MainWindowHarness(const WorkDir &dir, const QString &lockPath)
{
    QApplication::setFont(japaneseUiFont());
    setSaveObserver([this](const QString &path) { m_saves << QFileInfo(path).fileName(); });
    const QString lock = lockPath.isEmpty() ? m_lockDir.filePath("pelko.lock") : lockPath;
    m_window = std::make_unique<frmMain>(ProgramPaths{dir.path(), {lock}});
}

MainWindowHarness::~MainWindowHarness()
{
    setSaveObserver({});
}

bool MainWindowHarness::start()
{
    if (!m_window->Form_Load())
        return false;
    m_window->show();
    m_window->activateWindow();
    return QTest::qWaitForWindowActive(m_window.get());
}

QStringList MainWindowHarness::messages() const
{
    QStringList out;
    for (const ShownMessage &m : m_boxes.shown())
        out << QStringList{"", "critical: ", "information: "}[int(m.icon)] + m.text;
    return out;
}

QStringList MainWindowHarness::listTexts()
{
    QStringList texts;
    for (int i = 0; i < list()->listCount(); ++i)
        texts << list()->text(i);
    return texts;
}

void whileModalShown(const std::function<void()> &open,
                     const std::function<void(QDialog *)> &inspect)
{
    QObject guard; // the timer dies with it, unfired when open() shows nothing
    QTimer::singleShot(0, &guard, [&] {
        if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            inspect(d);
            d->reject(); // a second time when inspect() closed it: harmless
        }
    });
    open();
}

TestWindow::TestWindow(const std::vector<Quest> &quests, const std::optional<QByteArray> &progress,
                       const std::optional<QByteArray> &ini)
    : Folder(quests, progress, ini), MainWindowHarness(static_cast<const WorkDir &>(*this))
{
    QTest::qVerify(start(), "start()", "the window did not start", __FILE__, __LINE__);
}

} // namespace pelko::test
