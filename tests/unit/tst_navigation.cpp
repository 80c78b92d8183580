#include "FakeBrowser.h"
#include "FakePlatform.h"
#include "Parts.h"
#include "TestInstall.h"

#include "browser/Form1_Ini.h"
#include "core/PageList.h"
#include "core/Paths.h"
#include "dialogs/LoginForm.h"
#include "forms/Controls.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "storage/HistoryStore.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <memory>

class tst_navigation : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstall> m_inst;
    Form1_Ini* m_main = nullptr;
    FakeBrowser* m_browser = nullptr;

    void click(const char* button)
    {
        QTest::mouseClick(part<ImageControl>(m_main, button), Qt::LeftButton);
    }

private Q_SLOTS:
    void init()
    {
        m_inst = std::make_unique<TestInstall>();
        m_main = &Forms::get<Form1_Ini>();
        m_main->Show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main));
        m_browser = part<FakeBrowser>(m_main, "WebBrowser2");
        m_browser->navigations.clear();
    }
    void cleanup() { m_inst.reset(); }

    // Named after the fault it guards: an empty history must neither beep nor report.
    void backAndForwardWithoutHistoryStayQuiet()
    {
        click("btnBack");
        click("btnForward");
        QCOMPARE(m_browser->backCalls, 1);
        QCOMPARE(m_browser->forwardCalls, 1);
        QVERIFY2(m_inst->errors.isEmpty(), qPrintable(m_inst->errors.join('\n')));
        QCOMPARE(m_inst->platform.beeps, 0);
        QVERIFY(m_browser->navigations.isEmpty());
    }

    // Named after the fault it guards: the notice that the history will not be kept was lost
    // when the file failed to open before the window listened. It comes once the window is up.
    void historyNoticeIsNeverLost()
    {
        m_inst.reset(); // a new installation, whose history file is a folder
        m_inst = std::make_unique<TestInstall>();
        const QString db = QV_Variaveis::HistoryDbPath;
        QVERIFY(QDir().mkpath(db));
        FormTimer::setSpeedFactorForTesting(10);
        const Form1_Ini& main = Forms::get<Form1_Ini>();
        QVERIFY(m_inst->errors.isEmpty());
        QTRY_VERIFY(main.isVisible());
        QCOMPARE(m_inst->errors,
                 QStringList{QStringLiteral("O histórico não será gravado. Banco de dados \"") +
                             db +
                             QStringLiteral("\": no lugar do arquivo há uma pasta.\nO que "
                                            "fazer: renomeie ou remova a pasta.")});
        QVERIFY(main.history()->hasFailed());
    }

    // Keys reach the same handlers as the buttons; zoom walks the usual levels and stops at
    // either end.
    void keysOfTheMainWindow()
    {
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        const auto key = [this](int k, Qt::KeyboardModifiers mods) {
            QTest::keyClick(m_main, Qt::Key(k), mods);
        };
        key(Qt::Key_Left, Qt::AltModifier);
        key(Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(m_browser->backCalls, 1);
        QCOMPARE(m_browser->forwardCalls, 1);
        key(Qt::Key_F5, Qt::NoModifier);
        key(Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(m_browser->refreshCalls, 2);
        key(Qt::Key_Equal, Qt::ControlModifier);
        key(Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(m_browser->factor, 1.25);
        for (int i = 0; i < 12; ++i)
            key(Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(m_browser->factor, 0.25);
        key(Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(m_browser->factor, 1.0);
        key(Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(m_browser->navigations.size(), 1);
    }

    // Named after the fault it guards: a login window held every button and key of the main
    // window. Each ends it as Escape does, and acts only once the wait for the login has
    // returned (the engine is still inside its call for the answer until then).
    void mainWindowActsAfterEndingALogin_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("home button") << 0;
        QTest::newRow("Alt+Home in the main window") << 1;
        QTest::newRow("Alt+Home in the login window") << 2;
    }

    void mainWindowActsAfterEndingALogin()
    {
        QFETCH(int, how);
        QTimer::singleShot(0, m_main, [this, how] {
            QWidget* login = Forms::ifLoaded<LoginForm>();
            QWidget* target = how == 2 ? login : m_main;
            target->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(target));
            if (how == 0)
                click("btnHome");
            else
                QTest::keyClick(target, Qt::Key_Home, Qt::AltModifier);
        });
        // Should the action not end it, the login ends here and the checks below fail.
        QTimer::singleShot(5000, m_main, [] { Forms::unload(Forms::ifLoaded<LoginForm>()); });
        const auto answer = LoginForm::ask({"www.banco.com.br", "banco.com.br", "Cofre"}, m_main);
        QVERIFY(!answer && !LoginForm::waiting() && !Forms::ifLoaded<LoginForm>());
        QVERIFY(m_browser->navigations.isEmpty());
        QTRY_COMPARE(m_browser->navigations.size(), 1);
        QVERIFY2(m_inst->errors.isEmpty(), qPrintable(m_inst->errors.join('\n')));
    }

    void homeReadsCurrentAddress_data()
    {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("expected"); // "" for appdir + "/Web/" + home
        QTest::newRow("local page") << "outra/pagina.htm"
                                    << "";
        QTest::newRow("web address") << "Https://Exemplo.org/Pág"
                                     << "Https://Exemplo.org/Pág";
    }

    void homeReadsCurrentAddress()
    {
        QFETCH(QString, home);
        QFETCH(QString, expected);
        if (expected.isEmpty())
            expected = m_inst->dir() + QStringLiteral("/Web/") + home;
        // As the administration window's home-page command leaves it.
        part<QLabel>(m_main, "lblHomeURL")->setText(home);
        click("btnHome");
        QCOMPARE(m_browser->navigations, QStringList{expected});
    }

    void blankPageReplaced_data()
    {
        QTest::addColumn<QString>("location"); // the control's top-level address
        QTest::addColumn<QString>("loaded");   // the address the event carries
        QTest::addColumn<bool>("replaced");

        QTest::newRow("blank") << "about:blank"
                               << "about:blank" << true;
        QTest::newRow("frame of a blank page") << "about:blank"
                                               << "https://frame.example/" << true;
        QTest::newRow("other letter case") << "About:Blank"
                                           << "About:Blank" << false;
        QTest::newRow("blank frame of a page") << "https://exemplo.org/"
                                               << "about:blank" << false;
        QTest::newRow("blank with fragment") << "about:blank#x"
                                             << "about:blank#x" << false;
    }

    void blankPageReplaced()
    {
        QFETCH(QString, location);
        QFETCH(QString, loaded);
        QFETCH(bool, replaced);

        m_browser->location = location;
        Q_EMIT m_browser->DocumentComplete(loaded);
        const QStringList errorPage{m_inst->dir() + QStringLiteral("/Web/erro404.htm")};
        QCOMPARE(m_browser->navigations, replaced ? errorPage : QStringList());
        QVERIFY2(m_inst->errors.isEmpty(), qPrintable(m_inst->errors.join('\n')));
    }

    // The page list through a script of steps: "o" opens a page from the one shown, "b" opens
    // one from none, "s3" shows page 3, "c3" closes it (its state named after it), "r" opens
    // the page closed last again (named after the state it had). Then the order (by name), the
    // page shown (by id), and the closed ones, oldest first.
    void pageList_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("closed");
        QTest::newRow("first page shown") << "o o"
                                          << "1 2" << 1 << "";
        QTest::newRow("closing the shown: its opener") << "o o s2 o s3 c3"
                                                       << "1 2" << 2 << "3";
        QTest::newRow("opener gone: the next one") << "o o s2 o o c2 s3 c3"
                                                   << "1 4" << 4 << "2 3";
        QTest::newRow("last one: the one before") << "o b b s3 c3"
                                                  << "1 2" << 2 << "3";
        QTest::newRow("closing one behind keeps the shown") << "o o o s1 c2"
                                                            << "1 3" << 1 << "2";
        QTest::newRow("the last page closed") << "o c1"
                                              << "" << 0 << "1";
        QTest::newRow("reopen, newest first") << "o o o c2 c3 r r"
                                              << "1 3 2" << 1 << "";
        QTest::newRow("ten closed are kept") << "o o o o o o o o o o o o c1 c2 c3 c4 c5 c6 c7 "
                                                "c8 c9 c10 c11"
                                             << "12" << 12 << "2 3 4 5 6 7 8 9 10 11";
        QTest::newRow("closing what is not open") << "o o c7 s9"
                                                  << "1 2" << 1 << "";
    }
    void pageList()
    {
        QFETCH(QString, steps);
        PageList list;
        std::map<int, QString> names; // id -> the name of the page it holds
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const int id = step.mid(1).toInt();
            if (step == u"o" || step == u"b") {
                const int opened = *list.open(step == u"o" ? list.shown() : 0);
                names[opened] = QString::number(opened);
            } else if (step.startsWith(u's')) {
                list.show(id);
            } else if (step.startsWith(u'c')) {
                list.close(id, {names[id], {}, {}});
            } else if (step == u"r") {
                const QString name = list.takeClosed()->address;
                names[*list.open(list.shown())] = name;
            }
        }
        QStringList order;
        for (int id : list.ids())
            order.append(names[id]);
        QTEST(order.join(u' '), "order");
        QTEST(list.shown(), "shown");
        QStringList closed;
        for (const PageState& state : list.closed())
            closed.append(state.address);
        QTEST(closed.join(u' '), "closed");
    }

    void pageListLimit()
    {
        PageList list;
        for (int i = 0; i < PageList::kMaxPages; ++i)
            QVERIFY(list.open());
        QVERIFY(list.isFull());
        QVERIFY(!list.open());
        list.close(list.at(0), {});
        QVERIFY(list.open());
        QCOMPARE(list.neighbour(1), list.at(1));
        QCOMPARE(list.neighbour(-1), list.at(PageList::kMaxPages - 1));
    }
};

QTEST_MAIN(tst_navigation)
#include "tst_navigation.moc"
