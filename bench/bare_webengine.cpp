// The yardstick for bench/side_by_side.sh: a bare QtWebEngine window of the program's size that
// shows one address and does nothing else; SIGUSR1 hides it, as the tray hides the program.
// Run: bare_webengine <url>
#include <QApplication>
#include <QSocketNotifier>
#include <QWebEngineView>

#include <csignal>
#include <unistd.h>

namespace {
int g_hidePipe[2];
}

int main(int argc, char** argv)
{
    // As the program does: Chromium cannot use its sandbox as root.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2 || pipe(g_hidePipe) != 0)
        return 2;
    QWebEngineView view;
    view.setWindowTitle(QStringLiteral("bare"));
    view.resize(304, 490);
    view.move(300, 100);
    view.load(QUrl::fromUserInput(QString::fromLocal8Bit(argv[1])));
    view.show();
    // The signal only writes a byte; the window is hidden from the event loop.
    std::signal(SIGUSR1, [](int) { [[maybe_unused]] auto n = write(g_hidePipe[1], "h", 1); });
    QSocketNotifier hideRequests(g_hidePipe[0], QSocketNotifier::Read);
    QObject::connect(&hideRequests, &QSocketNotifier::activated, &view, [&view] {
        char c;
        [[maybe_unused]] auto n = read(g_hidePipe[0], &c, 1);
        view.hide();
    });
    return app.exec();
}
