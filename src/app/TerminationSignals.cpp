#include "TerminationSignals.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The signal handler may only write to a descriptor; the user-interface thread reads the other end.
int SignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(SignalPipe[0], &byte, 1);
}

} // namespace

void CatchTerminationSignals() {
    // Close-on-exec: the tools the program starts have no use for the pair.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, SignalPipe) != 0) return;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

// A byte written before this call is still in the pair, so the notifier finds it at once.
void CloseOnTerminationSignals(QWidget* window) {
    if (SignalPipe[1] < 0) return;
    auto* notifier = new QSocketNotifier(SignalPipe[1], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window = QPointer<QWidget>(window)] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(SignalPipe[1], &byte, 1);
        if (window) window->close();
    });
}
