// Start-up marks for a program started by the benchmark: loaded into the child with LD_PRELOAD,
// so that the program measured is the real executable, unchanged. It prints one line a mark,
// "startup-mark NAME NANOSECONDS" on the monotonic clock the benchmark reads too, and ends the
// program once its first window has been painted:
//   loaded   the libraries are loaded (this library's static initialisation)
//   qt       QCoreApplication is being constructed (a start-up routine of QtCore)
//   font     the application font has been set
//   titled   a window got its title (frmMain: Form_Load has begun)
//   shown    a window is shown (frmMain: Form_Load has returned)
//   paint    the first widget paints
//   painted  the paint and its flush are over and the event loop is running again
// After "painted" it prints "startup-rss KB" (VmRSS) and asks the event loop to end.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void mark(const char *name)
{
    std::printf("startup-mark %s %lld\n", name, monotonicNs());
    std::fflush(stdout);
}

long long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

class Observer : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(object);
        switch (event->type()) {
        case QEvent::ApplicationFontChange:
            once(m_font, "font");
            break;
        case QEvent::WindowTitleChange:
            if (widget && widget->isWindow())
                once(m_titled, "titled");
            break;
        case QEvent::Show:
            if (widget && widget->isWindow())
                once(m_shown, "shown");
            break;
        case QEvent::Paint:
            if (widget && !m_paint) {
                once(m_paint, "paint");
                // Runs once the paint of the whole window and its flush have returned.
                QMetaObject::invokeMethod(
                    this,
                    [] {
                        mark("painted");
                        std::printf("startup-rss %lld\n", residentKb());
                        std::fflush(stdout);
                        QCoreApplication::exit(0);
                    },
                    Qt::QueuedConnection);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    static void once(bool &done, const char *name)
    {
        if (!done)
            mark(name);
        done = true;
    }

    bool m_font = false;
    bool m_titled = false;
    bool m_shown = false;
    bool m_paint = false;
};

void install()
{
    mark("qt");
    QCoreApplication::instance()->installEventFilter(new Observer(QCoreApplication::instance()));
}

const bool g_loaded = (mark("loaded"), true);

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
