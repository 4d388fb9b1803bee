// Loaded into the real program with LD_PRELOAD by tst_load_process: the process is told it may
// run on eight processors, whatever the machine has, so that the load starts as many collating
// threads as on such a machine; and each message box is answered OK as soon as it shows, its
// icon, buttons, title and text printed first ("message-box (ICON, BUTTONS) TITLE: TEXT", then
// "application: " and what the program set up),
// so that a start that ends in a box ends by itself.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <memory>

#include <sched.h>

extern "C" int sched_getaffinity(pid_t, size_t size, cpu_set_t *set)
{
    CPU_ZERO_S(size, set);
    for (int cpu = 0; cpu < 8; ++cpu)
        CPU_SET_S(cpu, size, set);
    return 0;
}

namespace {

class AnswerBoxes : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(object);
        if (box && event->type() == QEvent::Show) {
            // What the program set up before any window: its desktop entry, its icon, Qt's own
            // texts in the system's language (a Cancel button, a text box's first command).
            QLineEdit edit;
            const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
            static const char *const icons[] = {"no icon", "information", "warning", "critical",
                                                "question"};
            const bool okOnly = box->standardButtons() == QMessageBox::Ok;
            std::printf("message-box (%s, %s) %s: %s\napplication: %s %s %s %s\n",
                        icons[box->icon()], okOnly ? "OK" : "OK and more",
                        qPrintable(box->windowTitle()), qPrintable(box->text()),
                        qPrintable(QGuiApplication::desktopFileName()),
                        QGuiApplication::windowIcon().isNull() ? "no-icon" : "icon",
                        qPrintable(QCoreApplication::translate("QPlatformTheme", "Cancel")),
                        qPrintable(menu->actions().value(0)->text().section(u'\t', 0, 0)));
            std::fflush(stdout);
            QMetaObject::invokeMethod(
                box, [box] { box->defaultButton()->click(); }, Qt::QueuedConnection);
        }
        return false;
    }
};

void install()
{
    QCoreApplication::instance()->installEventFilter(new AnswerBoxes(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
