#include "TerminationSignal.h"

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace pelko {
namespace {

// A signal handler may do almost nothing: it writes one byte to a socket, and the event loop,
// watching the other end, does the work.
int signalSocket[2] = {-1, -1};
QPointer<QWidget> target;
bool closing = false;
bool signalled = false;

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalSocket[0], &byte, 1);
    errno = saved;
}

void closeTarget()
{
    char bytes[16];
    [[maybe_unused]] const ssize_t n = ::read(signalSocket[1], bytes, sizeof bytes);
    signalled = true;
    if (!target)
        return;
    while (QWidget *modal = QApplication::activeModalWidget()) {
        if (modal == target || !modal->close())
            break;
    }
    closing = true;
    target->close();
    closing = false;
}

} // namespace

void closeOnTerminationSignal(QWidget *window)
{
    target = window;
    signalled = false;
    if (signalSocket[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSocket) != 0)
        return; // the signals keep their default action
    auto *notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { closeTarget(); });
    struct sigaction action {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

bool closingOnSignal()
{
    return closing;
}

bool terminationSignalled()
{
    return signalled && target;
}

} // namespace pelko
