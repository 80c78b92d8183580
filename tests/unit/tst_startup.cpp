#include "FakeBrowser.h"
#include "FakePlatform.h"
#include "Parts.h"
#include "TestInstall.h"

#include "app/SingleInstance.h"
#include "browser/Form1_Ini.h"
#include "core/DataFolder.h"
#include "core/Paths.h"
#include "core/QvError.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <future>

namespace {
QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

class tst_startup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { FormTimer::setSpeedFactorForTesting(10); }

    void startUp_data()
    {
        QTest::addColumn<QString>("change"); // applied to the shipped configuration
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QString>("numChecked");
        QTest::addColumn<QString>("home"); // the second navigation; "" for the start page
        QTest::addColumn<QPoint>("position");

        const QString toTray = QStringLiteral("UPDATE Tabela1 SET minimizado=1");
        const QPoint stored(300, 100); // 4500 x 1500 twips
        QTest::newRow("shipped") << "" << true << "0"
                                 << "" << stored;
        QTest::newRow("flag 2") << "UPDATE Tabela1 SET minimizado=2" << true << "0"
                                << "" << stored;
        QTest::newRow("off screen, unclamped")
            << "UPDATE Tabela1 SET left=-30000, top='150000'" << true << "0"
            << "" << QPoint(-2000, 10000);
        QTest::newRow("home with scheme")
            << "UPDATE Tabela1 SET homeURL='HTTPS://Exemplo.org/Pág'" << true << "0"
            << "HTTPS://Exemplo.org/Pág" << stored;
        QTest::newRow("to tray") << toTray << true << "1"
                                 << "" << stored;
        QTest::newRow("no tray: minimized") << toTray << false << "1"
                                            << "" << stored;
    }

    void startUp()
    {
        QFETCH(QString, change);
        QFETCH(bool, tray);
        QFETCH(QString, numChecked);
        QFETCH(QString, home);
        QFETCH(QPoint, position);

        TestInstall inst;
        inst.platform.tray = tray;
        if (!change.isEmpty())
            TestInstall::exec(inst.configDb(), change);
        const QString startPage = inst.dir() + QStringLiteral("/Web/index.htm");
        const QString homeShown = home.isEmpty() ? QStringLiteral("index.htm") : home;
        if (home.isEmpty())
            home = startPage;

        Form1_Ini& form = Forms::get<Form1_Ini>();
        auto* browser = part<FakeBrowser>(form, "WebBrowser2");
        QCOMPARE(browser->navigations, (QStringList{startPage, home}));
        QCOMPARE(browser->silentAtNavigation, (QList<bool>{true, true}));
        QVERIFY(part<FakeBrowser>(form, "WebBrowser1")->navigations.isEmpty());
        QCOMPARE(inst.statements, QStringList{"SELECT left,top,homeURL,homeTitulo,minimizado "
                                              "FROM Tabela1 where id=1"});
        QCOMPARE(part<QLabel>(form, "lblNumChecked")->text(), numChecked);
        QCOMPARE(part<QLabel>(form, "lblHomeURL")->text(), homeShown);
        QCOMPARE(part<QLabel>(form, "lblTituloHome")->text(),
                 QStringLiteral("Página inicial do Quorvane"));
        QCOMPARE(form.pos(), position);
        QCOMPARE(form.size(), QSize(304, 490));
        QCOMPARE(part<FormTimer>(form, "TimerMouseOver")->Interval(), 100);
        // Hidden while loading; without a tray it is minimized once the load is over.
        QVERIFY(!form.isVisible());

        if (numChecked == QLatin1String("0")) {
            QTRY_VERIFY(form.isVisible());
            QVERIFY(!part<FormTimer>(form, "TimerShowForm")->Enabled());
            QVERIFY(!form.trayIconVisible());
        } else {
            QVERIFY(!part<FormTimer>(form, "TimerShowForm")->isRunning());
            QTest::qWait(250); // well past the sped-up first show
            QCOMPARE(form.trayIconVisible(), tray);
            // Without a tray the window stays reachable: minimized, never hidden away.
            QCOMPARE(form.isVisible(), !tray);
            QCOMPARE(form.isMinimized(), !tray);
        }
        QVERIFY2(inst.errors.isEmpty(), qPrintable(inst.errors.join('\n')));
    }

    void startUpFault_data()
    {
        QTest::addColumn<QString>("change"); // SQL, or "<missing>" / "<garbage>"
        QTest::addColumn<QString>("named");  // in the message besides the file

        QTest::newRow("missing config db") << "<missing>"
                                           << "";
        QTest::newRow("not a database") << "<garbage>"
                                        << "O que fazer";
        QTest::newRow("folder in place of the file") << "<folder>"
                                                     << "pasta";
        QTest::newRow("no Tabela1") << "DROP TABLE Tabela1"
                                    << "Tabela1";
        QTest::newRow("no row 1") << "UPDATE Tabela1 SET id=2"
                                  << "";
        for (const char* column : {"left", "top", "homeURL", "homeTitulo", "minimizado"})
            QTest::addRow("null %s", column)
                << QStringLiteral("UPDATE Tabela1 SET %1=NULL").arg(QLatin1String(column))
                << QString::fromLatin1(column);
        QTest::newRow("text in left") << "UPDATE Tabela1 SET left='abc'"
                                      << "left";
        QTest::newRow("minimizado 70000") << "UPDATE Tabela1 SET minimizado=70000"
                                          << "minimizado";
    }

    void startUpFault()
    {
        QFETCH(QString, change);
        QFETCH(QString, named);

        TestInstall inst;
        if (change == QLatin1String("<missing>")) {
            QVERIFY(QFile::remove(inst.configDb()));
        } else if (change == QLatin1String("<garbage>")) {
            QFile f(inst.configDb());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray("left=4500\ntop=1500\n").repeated(20));
        } else if (change == QLatin1String("<folder>")) {
            QVERIFY(QFile::remove(inst.configDb()) && QDir().mkdir(inst.configDb()));
        } else {
            TestInstall::exec(inst.configDb(), change);
        }
        const QByteArray before = bytesOf(inst.configDb());

        QString message;
        try {
            Forms::get<Form1_Ini>();
        } catch (const QvError& e) {
            message = e.message();
        }
        QVERIFY2(message.contains(inst.configDb()) && message.contains(named), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("SELECT")), qPrintable(message)); // the log's
        QCOMPARE(bytesOf(inst.configDb()), before);
        // Not left half-built: the next touch would load a fresh window.
        QVERIFY(Forms::loaded().isEmpty());
    }

    // What a running program reads of a later start. Sent by hand: "A" stands for one address
    // line, "header" for the first line; every row ends the connection without waiting.
    void laterStartIsRead_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QStringList>("addresses");

        const QByteArray header = SingleInstance::message({}).split('\n').front() + '\n';
        QByteArray fifty = header, line = "A https://a.org/\n";
        for (int i = 0; i < StartAddresses::kMaxAddresses; ++i)
            fifty += line;
        const QStringList one{"https://a.org/"};
        QTest::newRow("nothing to open: only show") << header + ".\n" << true << QStringList();
        QTest::newRow("refused here too") << header + "A javascript:x\nA https://a.org/\n.\n"
                                          << true << one;
        QTest::newRow("fifty") << fifty + ".\n" << true << QStringList(50, one.front());
        QTest::newRow("fifty-one") << fifty + line + ".\n" << false << QStringList();
        QTest::newRow("no header") << QByteArray("A https://a.org/\n.\n") << false << QStringList();
        QTest::newRow("unknown line") << header + "X\n.\n" << false << QStringList();
        QTest::newRow("a line past the bound, never ended")
            << header + "A " + QByteArray(SingleInstance::kMaxLineBytes, 'x') << false
            << QStringList();
        QTest::newRow("an address past the limit")
            << header + "A " + QByteArray(kMaxAddressLength + 1, 'x') + "\n.\n"
            << false << QStringList();
        QTest::newRow("silent") << QByteArray() << false << QStringList();
        QTest::newRow("unfinished") << header + "A https://a.org/\n" << false << QStringList();
    }

    void laterStartIsRead()
    {
        QFETCH(QByteArray, sent);
        QFETCH(bool, answered);
        QFETCH(QStringList, addresses);
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QCOMPARE(first.claim(), SingleInstance::Role::First);
        first.listen();
        QSignalSpy opened(&first, &SingleInstance::openRequested);

        QLocalSocket client;
        client.connectToServer(first.socketName());
        QVERIFY(client.waitForConnected(1000));
        client.write(sent);
        QElapsedTimer clock;
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), QLocalSocket::UnconnectedState,
                                  SingleInstance::kReadMs + 3000);
        QCOMPARE(client.readAll(), answered ? QByteArray("ok\n") : QByteArray());
        if (answered) {
            QTRY_COMPARE(opened.size(), 1);
            QCOMPARE(opened.front().front().toStringList(), addresses);
        } else {
            QTest::qWait(50);
            QCOMPARE(opened.size(), 0);
        }
        // Only a client that stops sending waits for the end of the read time (a coarse timer
        // fires up to 5 % early).
        const bool waited = sent.isEmpty() || (!sent.endsWith(".\n") && sent.endsWith('\n'));
        QCOMPARE(clock.elapsed() >= SingleInstance::kReadMs * 9 / 10, waited);
    }

    // A later start ends at once, its addresses opened by the first, even while silent clients
    // hold every place the first reads from: the UI thread never waits for them.
    void laterStartHandsOver()
    {
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QCOMPARE(first.claim(), SingleInstance::Role::First);
        first.listen();
        QSignalSpy opened(&first, &SingleInstance::openRequested);
        std::vector<std::unique_ptr<QLocalSocket>> silent;
        for (int i = 0; i <= SingleInstance::kMaxClients; ++i) {
            silent.push_back(std::make_unique<QLocalSocket>());
            silent.back()->connectToServer(first.socketName());
        }
        QTRY_COMPARE(silent.back()->state(), QLocalSocket::UnconnectedState); // one too many
        QVERIFY(silent.front()->state() == QLocalSocket::ConnectedState);

        const StartAddresses::Result start{{"https://a.org/", "file:///tmp/x.html"},
                                           {"Endereço recusado: \"x\"."}};
        auto later = std::async(std::launch::async, [&] {
            SingleInstance second(folder.path());
            return second.claim(start);
        });
        QTRY_VERIFY_WITH_TIMEOUT(later.wait_for(std::chrono::seconds(0)) ==
                                     std::future_status::ready,
                                 SingleInstance::kReadMs + 5000);
        QCOMPARE(later.get(), SingleInstance::Role::Later);
        QTRY_COMPARE(opened.size(), 1);
        QCOMPARE(opened.front().at(0).toStringList(), start.addresses);
        QCOMPARE(opened.front().at(1).toStringList(), start.notices);
    }

    void dataFolder_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("perUser");
        QTest::addColumn<QString>("named"); // in the error; "" when it works

        QTest::newRow("writable installation keeps its BD") << "" << false << "";
        QTest::newRow("first use seeds the per-user folder") << "" << true << "";
        QTest::newRow("an existing per-user file is kept") << "existing" << true << "";
        QTest::newRow("data home is a file") << "home is a file" << true << "/data/quorvane/BD/";
        QTest::newRow("shipped database missing")
            << "shipped missing" << true << "/BD/QV_Links.mdb";
    }

    void dataFolder()
    {
        QFETCH(QString, setup);
        QFETCH(bool, perUser);
        QFETCH(QString, named);

        TestInstall inst;
        const QString shipped = inst.dir() + QStringLiteral("/BD/");
        const QString home = inst.dir() + QStringLiteral("/data");
        const QString folder = home + QStringLiteral("/quorvane/BD/");
        const QByteArray own("not the shipped file");
        if (setup == QLatin1String("existing")) {
            QVERIFY(QDir().mkpath(folder));
            QFile f(folder + QStringLiteral("QV_Config.mdb"));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(own) == own.size());
        } else if (setup == QLatin1String("home is a file")) {
            QFile f(home);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (setup == QLatin1String("shipped missing")) {
            QVERIFY(QFile::remove(inst.linksDb()));
        }

        QString chosen, message;
        try {
            chosen = perUser ? DataFolder::seedPerUser(shipped, home) : DataFolder::choose(shipped);
        } catch (const QvError& e) {
            message = e.message();
        }
        if (!named.isEmpty()) {
            QVERIFY2(message.contains(inst.dir() + named), qPrintable(message));
            // Never a half-copied database under a temporary name.
            QVERIFY(QDir(folder).entryList({QStringLiteral("*.mdb.*")}, QDir::Files).isEmpty());
            return;
        }
        QVERIFY2(message.isEmpty(), qPrintable(message));
        QCOMPARE(chosen, perUser ? folder : shipped);
        const bool kept = setup == QLatin1String("existing");
        QCOMPARE(bytesOf(chosen + QStringLiteral("QV_Config.mdb")),
                 kept ? own : bytesOf(inst.configDb()));
        QCOMPARE(bytesOf(chosen + QStringLiteral("QV_Links.mdb")), bytesOf(inst.linksDb()));
        QCOMPARE(QDir(chosen).entryList(QDir::Files).size(), 2); // no temporary copy left
        // The database paths follow the chosen folder.
        setDatabaseFolder(chosen);
        QV_Variaveis::SetDatabasePaths();
        QCOMPARE(QV_Variaveis::LinksDbPath, chosen + QStringLiteral("QV_Links.mdb"));
    }
};

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
