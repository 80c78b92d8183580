// The yardstick for bench/side_by_side.sh: a bare QtWebEngine window of the program's size that
// shows one address and does nothing else.
// Run: bare_webengine <url>
#include <QApplication>
#include <QWebEngineView>

#include <unistd.h>

int main(int argc, char** argv)
{
    // As the program does: Chromium cannot use its sandbox as root.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWebEngineView view;
    view.setWindowTitle(QStringLiteral("bare"));
    view.resize(304, 490);
    view.move(300, 100);
    view.load(QUrl::fromUserInput(QString::fromLocal8Bit(argv[1])));
    view.show();
    return app.exec();
}
