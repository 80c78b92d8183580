#include "Parts.h"
#include "TestInstall.h"
#include "TestMain.h"
#include "dialogs/PageNotice.h"
#include "engine/DesktopNotifications.h"
#include "forms/Forms.h"

#include <QDBusArgument>
#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

// The desktop's notification service as the test's own private bus carries it: it records what
// it is asked, numbers what it shows, and may be told to fail or never to answer.
class FakeNotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    enum class Answer { Yes, Error, Never };
    struct Shown {
        QString appName, summary, body;
        QStringList actions;
        QVariantMap hints;
    };
    QStringList capabilities;
    Answer answer = Answer::Yes;
    QList<Shown> shown;
    QList<uint> closeCalls;

public Q_SLOTS:
    QStringList GetCapabilities()
    {
        answerLater();
        return capabilities;
    }
    uint Notify(const QString& appName, uint, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int)
    {
        if (answer == Answer::Error)
            sendErrorReply(QDBusError::Failed, QStringLiteral("broken"));
        else
            answerLater();
        shown.append({appName, summary, body, actions, hints});
        return uint(shown.size());
    }
    void CloseNotification(uint id)
    {
        closeCalls.append(id);
        Q_EMIT NotificationClosed(id, 3);
    }

Q_SIGNALS:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString& action);

private:
    void answerLater()
    {
        if (answer == Answer::Never)
            setDelayedReply(true);
    }
};

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kLimitLine = QStringLiteral("notifications in a minute");
QStringList g_log;

void recordLog(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_log.append(message);
}

// What the page heard of its notification.
struct PageSide {
    int shown = 0, clicked = 0, closed = 0;
};

DesktopNotifications::Request request(PageSide& page, const QString& origin = "http://a.test")
{
    DesktopNotifications::Request r;
    r.origin = QUrl(origin);
    r.source = QStringLiteral("Caixa de entrada");
    r.title = QStringLiteral("Nova mensagem");
    r.body = QStringLiteral("Olá");
    r.shown = [&page] { ++page.shown; };
    r.clicked = [&page] { ++page.clicked; };
    r.closed = [&page] { ++page.closed; };
    return r;
}

QSize imageSize(const QVariantMap& hints)
{
    if (!hints.contains(QStringLiteral("image-data")))
        return {};
    const QDBusArgument arg = hints.value(QStringLiteral("image-data")).value<QDBusArgument>();
    int width = 0, height = 0, rowLength = 0, bits = 0, channels = 0;
    bool alpha = false;
    QByteArray bytes;
    arg.beginStructure();
    arg >> width >> height >> rowLength >> alpha >> bits >> channels >> bytes;
    arg.endStructure();
    if (rowLength != width * 4 || bytes.size() != rowLength * height || bits != 8 || channels != 4)
        return {-1, -1};
    return {width, height};
}

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}
} // namespace

class tst_notifications : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void notifyCarriesTheNotification_data();
    void notifyCarriesTheNotification();
    void desktopEventsReachThePage_data();
    void desktopEventsReachThePage();
    void aSiteSendingTooManyIsCutOff();
    void withoutAServiceANoticeTells_data();
    void withoutAServiceANoticeTells();

private:
    QDBusConnection client() const { return QDBusConnection(QStringLiteral("client")); }
    QDBusConnection server() const { return QDBusConnection(QStringLiteral("server")); }

    std::unique_ptr<TestInstall> m_inst;
    QTemporaryDir m_dir;
    QProcess m_daemon;
    FakeNotificationServer m_fake;
    int m_raised = 0;
};

void tst_notifications::initTestCase()
{
    m_inst = std::make_unique<TestInstall>();
    // A bus of the test's own, with no services to start on demand.
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile f(config);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<busconfig><type>session</type><listen>unix:dir=" + m_dir.path().toUtf8() +
            "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow "
            "send_destination=\"*\" eavesdrop=\"true\"/>"
            "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
    f.close();
    // The bus ends with the test, even one that crashes.
    m_daemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                    QStringLiteral("--print-address")});
    QVERIFY(m_daemon.waitForStarted());
    QTRY_VERIFY(m_daemon.canReadLine());
    const QString address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QVERIFY(QDBusConnection::connectToBus(address, QStringLiteral("server")).isConnected());
    QVERIFY(QDBusConnection::connectToBus(address, QStringLiteral("client")).isConnected());
    QVERIFY(server().registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_fake,
                                    QDBusConnection::ExportAllSlots |
                                        QDBusConnection::ExportAllSignals));
}

void tst_notifications::init()
{
    m_fake.capabilities = {QStringLiteral("actions"), QStringLiteral("body"),
                           QStringLiteral("body-markup")};
    m_fake.answer = FakeNotificationServer::Answer::Yes;
    m_fake.shown.clear();
    m_fake.closeCalls.clear();
    m_raised = 0;
    QVERIFY(server().registerService(kService));
}

void tst_notifications::cleanup()
{
    QCOMPARE(m_inst->errors, QStringList());
    server().unregisterService(kService);
    if (PageNotice* notice = Forms::ifLoaded<PageNotice>())
        Forms::unload(notice);
}

void tst_notifications::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("server"));
    m_daemon.kill();
    m_daemon.waitForFinished();
    m_inst.reset();
}

void tst_notifications::notifyCarriesTheNotification_data()
{
    QTest::addColumn<QStringList>("capabilities");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QImage>("icon");
    QTest::addColumn<QString>("sentBody");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QSize>("image");
    const QStringList all{"actions", "body", "body-markup"};
    const QStringList click{"default", "Abrir"};
    QTest::newRow("markup is escaped where the service reads it")
        << all << "<b>a</b> & b\nlinha 2" << QImage() << "&lt;b&gt;a&lt;/b&gt; &amp; b\nlinha 2"
        << click << QSize();
    QTest::newRow("plain text where it does not") << QStringList{"actions", "body"} << "<b>a</b>"
                                                  << QImage() << "<b>a</b>" << click << QSize();
    QTest::newRow("a service without actions offers no click")
        << QStringList{"body"} << "x" << QImage() << "x" << QStringList() << QSize();
    QTest::newRow("a 100,000-character body is cut")
        << all << QString(100000, u'x') << QImage() << QString(1000, u'x') << click << QSize();
    // An emoji across the cut would leave half a character.
    QTest::newRow("the cut never splits a character")
        << QStringList{"body"} << QString(999, u'x') + QStringLiteral("😀") << QImage()
        << QString(999, u'x') << QStringList() << QSize();
    QTest::newRow("a picture goes as the image")
        << all << "x" << picture(16, 16) << "x" << click << QSize(16, 16);
    QTest::newRow("a large picture is made smaller")
        << all << "x" << picture(1024, 512) << "x" << click << QSize(256, 128);
}

// What a page gives reaches the service, with no more than the service can show.
void tst_notifications::notifyCarriesTheNotification()
{
    QFETCH(QStringList, capabilities);
    QFETCH(QString, body);
    QFETCH(QImage, icon);
    QFETCH(QString, sentBody);
    QFETCH(QStringList, actions);
    QFETCH(QSize, image);
    m_fake.capabilities = capabilities;
    DesktopNotifications presenter(client(), {}, nullptr);
    PageSide page;
    DesktopNotifications::Request r = request(page);
    r.body = body;
    r.icon = icon;
    QVERIFY(presenter.post(r));
    QTRY_COMPARE(page.shown, 1);
    QCOMPARE(m_fake.shown.size(), 1);
    const FakeNotificationServer::Shown& s = m_fake.shown.constFirst();
    QCOMPARE(s.appName, QStringLiteral("Caixa de entrada"));
    QCOMPARE(s.summary, QStringLiteral("Nova mensagem"));
    QCOMPARE(s.body, sentBody);
    QCOMPARE(s.actions, actions);
    QCOMPARE(imageSize(s.hints), image);
    QVERIFY(!Forms::ifLoaded<PageNotice>());
}

void tst_notifications::desktopEventsReachThePage_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<int>("closed");
    QTest::addColumn<int>("closeCalls");
    QTest::newRow("a click brings the window up") << "default" << 1 << 0 << 0;
    QTest::newRow("another action is no click") << "other" << 0 << 0 << 0;
    QTest::newRow("closed on the desktop") << "closed" << 0 << 1 << 0;
    QTest::newRow("withdrawn by the page") << "withdraw" << 0 << 0 << 1;
    QTest::newRow("withdrawn before the service answered") << "withdraw early" << 0 << 0 << 1;
}

// The desktop's click and closing reach the page; the page's withdrawal reaches the desktop,
// and never comes back to the page as a closing.
void tst_notifications::desktopEventsReachThePage()
{
    QFETCH(QString, event);
    QFETCH(int, clicked);
    QFETCH(int, closed);
    QFETCH(int, closeCalls);
    DesktopNotifications presenter(
        client(), [this] { ++m_raised; }, nullptr);
    // A first one, so that the service's capabilities are known and the second goes at once.
    PageSide first;
    QVERIFY(presenter.post(request(first)));
    QTRY_COMPARE(first.shown, 1);
    PageSide page;
    const std::optional<DesktopNotifications::Handle> handle = presenter.post(request(page));
    QVERIFY(handle);
    if (event == u"withdraw early")
        presenter.withdraw(*handle);
    QTRY_COMPARE(m_fake.shown.size(), 2);
    QTest::qWait(50);
    const uint id = 2;
    const auto emitSignal = [this](const QString& name, const QVariantList& args) {
        QDBusMessage m = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/Notifications"), kService, name);
        m.setArguments(args);
        QVERIFY(server().send(m));
    };
    if (event == u"default" || event == u"other")
        emitSignal(QStringLiteral("ActionInvoked"), {id, event});
    else if (event == u"closed")
        emitSignal(QStringLiteral("NotificationClosed"), {id, 2u});
    else if (event == u"withdraw")
        presenter.withdraw(*handle);
    QTest::qWait(200);
    QCOMPARE(page.clicked, clicked);
    QCOMPARE(m_raised, clicked);
    QCOMPARE(page.closed, closed);
    QCOMPARE(m_fake.closeCalls, QList<uint>(closeCalls, id));
    // Nothing more once it has gone; the other one is left alone.
    emitSignal(QStringLiteral("NotificationClosed"), {id, 2u});
    QTest::qWait(100);
    presenter.withdraw(*handle);
    QTest::qWait(100);
    QCOMPARE(page.closed, event.startsWith(u"withdraw") ? 0 : 1);
    QCOMPARE(m_fake.closeCalls.size(), closeCalls);
    QCOMPARE(first.clicked + first.closed, 0);
}

// Ten a minute for each site; the rest are dropped with one log line, not one each.
void tst_notifications::aSiteSendingTooManyIsCutOff()
{
    DesktopNotifications presenter(client(), {}, nullptr);
    PageSide page;
    g_log.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordLog);
    int posted = 0;
    for (int i = 0; i < 25; ++i)
        posted += presenter.post(request(page)) ? 1 : 0;
    posted += presenter.post(request(page, "http://b.test")) ? 1 : 0;
    qInstallMessageHandler(previous);
    QCOMPARE(posted, DesktopNotifications::kPerMinute + 1);
    QTRY_COMPARE(m_fake.shown.size(), DesktopNotifications::kPerMinute + 1);
    QCOMPARE(g_log.filter(kLimitLine).size(), 1);
    QVERIFY(g_log.filter(kLimitLine).constFirst().contains(QStringLiteral("http://a.test")));
}

void tst_notifications::withoutAServiceANoticeTells_data()
{
    QTest::addColumn<QString>("bus");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("waitMs");
    const int yes = int(FakeNotificationServer::Answer::Yes);
    QTest::newRow("no session bus") << "none" << yes << 1000;
    QTest::newRow("no service on the bus") << "unowned" << yes << 2000;
    QTest::newRow("a service that fails")
        << "served" << int(FakeNotificationServer::Answer::Error) << 2000;
    QTest::newRow("a service that never answers")
        << "served" << int(FakeNotificationServer::Answer::Never)
        << DesktopNotifications::kAnswerMs + 5000;
}

// The page's text is told in the notice instead, and the program never waits for the bus.
void tst_notifications::withoutAServiceANoticeTells()
{
    QFETCH(QString, bus);
    QFETCH(int, answer);
    QFETCH(int, waitMs);
    m_fake.answer = FakeNotificationServer::Answer(answer);
    if (bus == u"unowned")
        server().unregisterService(kService);
    const QDBusConnection connection =
        bus == u"none" ? QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"),
                                                       QStringLiteral("none"))
                       : client();
    DesktopNotifications presenter(connection, {}, nullptr);
    PageSide page;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(presenter.post(request(page)));
    // Far below the bus's own timeout of 25 s, which a call waiting on it would take; far above
    // what a loaded machine takes to return.
    QVERIFY(clock.elapsed() < 5000);
    QTRY_VERIFY_WITH_TIMEOUT(Forms::ifLoaded<PageNotice>(), waitMs);
    QCOMPARE(part<QLabel>(Forms::ifLoaded<PageNotice>(), "lblMensagem")->text(),
             QStringLiteral("Caixa de entrada: Nova mensagem - Olá"));
    QCOMPARE(page.shown, 1);
    QDBusConnection::disconnectFromBus(QStringLiteral("none"));
}

QV_TEST_MAIN(tst_notifications)

#include "tst_notifications.moc"
