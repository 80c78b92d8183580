#include "app/EndSignals.h"

#include "core/ErrorReporter.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <utility>

#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};
int g_fds[2] = {-1, -1};

// Only what is safe in a signal handler: the next signal takes the default way, and one byte
// wakes the UI thread.
void handler(int signal)
{
    std::signal(signal, SIG_DFL);
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &byte, 1);
}
} // namespace

EndSignals::EndSignals(std::function<void()> end, QObject* parent)
    : QObject(parent)
    , m_end(std::move(end))
    , m_notifier(nullptr)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_fds) != 0)
        return; // the system's default stays: the signal ends the process
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        // Only a signal's byte ends the program; anything else read here stops the listening.
        char byte = 0;
        int signal = 0;
        while (::read(g_fds[1], &byte, 1) > 0)
            signal = signal ? signal : byte;
        m_notifier->setEnabled(false);
        if (!signal)
            return;
        qWarning("quorvane: signal %d: ending as the close image does", signal);
        ErrorReporter::guard(m_end);
    });
    for (int s : kSignals) {
        struct sigaction action {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(s, &action, nullptr);
    }
}

EndSignals::~EndSignals()
{
    for (int s : kSignals)
        std::signal(s, SIG_DFL);
    delete m_notifier;
    for (int& fd : g_fds)
        if (fd >= 0)
            ::close(std::exchange(fd, -1));
}
