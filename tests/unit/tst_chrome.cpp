#include "FakePlatform.h"
#include "Parts.h"
#include "TestInstall.h"

#include "browser/Form1_Ini.h"
#include "core/Twips.h"
#include "dialogs/Form6_Del.h"
#include "forms/Controls.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "info/Form3_About.h"
#include "info/Form4_Help.h"
#include "sites/Form2_Lista.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>

#include <functional>

namespace {
using Loader = std::function<SkinnedForm*()>;

template <class T>
Loader loader()
{
    return [] { return &Forms::get<T>(); };
}

// Loads a window and shows it at a known spot; the main window's own first show is held back.
SkinnedForm* open(const Loader& load)
{
    SkinnedForm* form = load();
    part<FormTimer>(Forms::get<Form1_Ini>(), "TimerShowForm")->setEnabled(false);
    form->move(70, 80);
    form->Show();
    return form;
}

QRect onScreen(QWidget* form, QWidget* c) { return QRect(form->pos() + c->pos(), c->size()); }

// One press or release at a point of a window, at a chosen time, through the platform's path.
void mouseAt(QWindow* w, QPoint at, QEvent::Type type, ulong time)
{
    const Qt::MouseButtons state = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    qt_handleMouseEvent(w, at, w->mapToGlobal(at), state, Qt::LeftButton, type, {}, int(time));
    qApp->processEvents();
}

// A record of a control's signals, in order.
template <class C>
void record(C* c, QStringList& log)
{
    QObject::connect(c, &C::MouseDown, c, [&log] { log << "MouseDown"; });
    QObject::connect(c, &C::MouseUp, c, [&log] { log << "MouseUp"; });
    QObject::connect(c, &C::Click, c, [&log] { log << "Click"; });
    QObject::connect(c, &C::DblClick, c, [&log] { log << "DblClick"; });
}

void addLargeWindows()
{
    QTest::addColumn<Loader>("load");
    QTest::newRow("Form1_Ini") << loader<Form1_Ini>();
    QTest::newRow("Form2_Lista") << loader<Form2_Lista>();
    QTest::newRow("Form3_About") << loader<Form3_About>();
    QTest::newRow("Form4_Help") << loader<Form4_Help>();
}
} // namespace

class tst_chrome : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { FormTimer::setSpeedFactorForTesting(10); }
    void roundsHalvesToEven();
    void isMouseOverIsStrict_data();
    void isMouseOverIsStrict();
    void hoverSwapsPairs_data() { addLargeWindows(); }
    void hoverSwapsPairs();
    void pressedLook_data();
    void pressedLook();
    void confirmationPairsMoveTogether();
    void trayIcon_data();
    void trayIcon();
    void titleBarButtons_data() { addLargeWindows(); }
    void titleBarButtons();
    void doubleClickIsOneClick_data();
    void doubleClickIsOneClick();
    void doubleClickOpeningWindowLeavesItAlone();
    void storedPositionOffEveryScreen_data();
    void storedPositionOffEveryScreen();
};

void tst_chrome::roundsHalvesToEven()
{
    const std::pair<double, int> cases[] = {{0.5, 0},    {1.5, 2},   {24.5, 24},
                                            {24.51, 25}, {-2.5, -2}, {-3.5, -4}};
    for (auto [value, rounded] : cases)
        QCOMPARE(int(roundHalfEven(value)), rounded);
}

void tst_chrome::isMouseOverIsStrict_data()
{
    QTest::addColumn<Qt::Edge>("edge");
    QTest::addColumn<int>("inward"); // pixels from the edge towards the centre
    QTest::addColumn<bool>("over");
    for (auto [edge, name] : {std::pair{Qt::LeftEdge, "left"}, std::pair{Qt::RightEdge, "right"},
                              std::pair{Qt::TopEdge, "top"}, std::pair{Qt::BottomEdge, "bottom"}}) {
        QTest::addRow("%s: on the edge", name) << edge << 0 << false;
        QTest::addRow("%s: just inside", name) << edge << 1 << true;
    }
}

void tst_chrome::isMouseOverIsStrict()
{
    QFETCH(Qt::Edge, edge);
    QFETCH(int, inward);
    QFETCH(bool, over);
    TestInstall install;
    SkinnedForm* form = open(loader<Form3_About>());
    QWidget* close = part(form, "imgFechar");
    // The far edges lie one past the control's last pixel.
    const QRect r = onScreen(form, close);
    const QPoint c = r.center();
    const QPoint p = edge == Qt::LeftEdge    ? QPoint(r.x() + inward, c.y())
                     : edge == Qt::RightEdge ? QPoint(r.x() + r.width() - inward, c.y())
                     : edge == Qt::TopEdge   ? QPoint(c.x(), r.y() + inward)
                                             : QPoint(c.x(), r.y() + r.height() - inward);
    install.platform.cursor = p;
    QCOMPARE(form->IsMouseOver(close), over);
}

void tst_chrome::hoverSwapsPairs()
{
    QFETCH(Loader, load);
    TestInstall install;
    SkinnedForm* form = open(load);
    const QStringList plain{"imgMinimizar", "imgTray", "imgFechar"};
    // Before the first tick both images show and the plain one lies above.
    for (const QString& name : plain) {
        QVERIFY(!part(form, name)->isHidden() && !part(form, name + "On")->isHidden());
        QCOMPARE(form->childAt(part(form, name)->geometry().center()), part(form, name));
    }
    const QRect close = onScreen(form, part(form, "imgFechar"));
    FormTimer* hover = part<FormTimer>(form, "TimerMouseOver");
    // The pointer nowhere near: after one look the window stops polling.
    install.platform.cursor = form->geometry().bottomRight() + QPoint(50, 50);
    QTRY_VERIFY(!hover->isRunning());
    for (bool over : {true, false}) {
        // Only the pointer crossing the window's edge (or a show) wakes the timer.
        install.platform.cursor = over ? close.center() : close.bottomRight() + QPoint(3, 3);
        QEvent crossing(over ? QEvent::Enter : QEvent::Leave);
        QApplication::sendEvent(form, &crossing);
        QTRY_COMPARE(part(form, "imgFechar")->isHidden(), over);
        QCOMPARE(part(form, "imgFecharOn")->isHidden(), !over);
        for (const QString& name : {plain[0], plain[1]})
            QVERIFY(!part(form, name)->isHidden() && part(form, name + "On")->isHidden());
    }
    // Inside the window but off its buttons it keeps watching; hidden, it stops at once.
    QTest::qWait(50);
    QVERIFY(hover->isRunning());
    form->hide();
    QVERIFY(!hover->isRunning());
    form->show();
    install.platform.cursor = form->geometry().bottomRight() + QPoint(50, 50);
    QTRY_VERIFY(!hover->isRunning());
}

void tst_chrome::pressedLook_data()
{
    QTest::addColumn<Loader>("load");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("rightToo");      // the right button pressed as well, released last
    QTest::addColumn<bool>("releaseInside"); // else released off the control
    QTest::addColumn<int>("opened");         // addresses and documents opened by the click
    QTest::newRow("main btnHome") << loader<Form1_Ini>() << "btnHome" << false << true << 0;
    QTest::newRow("admin btnOpenText")
        << loader<Form2_Lista>() << "btnOpenText" << false << true << 1;
    QTest::newRow("about btnMeuSite")
        << loader<Form3_About>() << "btnMeuSite" << false << true << 1;
    QTest::newRow("help btn2") << loader<Form4_Help>() << "btn2" << false << true << 1;
    QTest::newRow("about, released outside")
        << loader<Form3_About>() << "btnMeuSite" << false << false << 0;
    QTest::newRow("help lblURL, released outside")
        << loader<Form4_Help>() << "lblURL" << false << false << 0;
    QTest::newRow("about, second button")
        << loader<Form3_About>() << "btnMeuSite" << true << true << 1;
}

void tst_chrome::pressedLook()
{
    QFETCH(Loader, load);
    QFETCH(QString, button);
    QFETCH(bool, rightToo);
    QFETCH(bool, releaseInside);
    QFETCH(int, opened);
    TestInstall install;
    SkinnedForm* form = open(load);
    QWidget* b = part(form, button);
    const QPoint place = b->pos();
    QTest::mousePress(b, Qt::LeftButton);
    QCOMPARE(b->pos(), place + QPoint(1, 1));
    if (rightToo) {
        QTest::mousePress(b, Qt::RightButton);
        QCOMPARE(b->pos(), place + QPoint(1, 1));
    }
    const QPoint at = releaseInside ? b->rect().center() : QPoint(-20, b->height() / 2);
    QTest::mouseRelease(b, Qt::LeftButton, {}, at);
    if (rightToo)
        QTest::mouseRelease(b, Qt::RightButton, {}, at);
    QCOMPARE(b->pos(), place);
    QCOMPARE(install.platform.externals.size() + install.platform.files.size(), opened);
    QVERIFY(Forms::loaded().contains(form));
    QVERIFY(install.errors.isEmpty());
}

void tst_chrome::confirmationPairsMoveTogether()
{
    TestInstall install;
    Form6_Del& del = Forms::get<Form6_Del>();
    for (const QString caption : {"btnDelete", "btnClose"}) {
        QWidget* front = part(&del, caption);
        QWidget* back = part(&del, caption + "Back");
        const QPoint frontPlace = front->pos();
        const QPoint backPlace = back->pos();
        QTest::mousePress(front, Qt::LeftButton);
        QCOMPARE(front->pos(), frontPlace + QPoint(1, 1));
        QCOMPARE(back->pos(), backPlace + QPoint(1, 1));
        QTest::mouseRelease(front, Qt::LeftButton, {}, QPoint(front->width() + 30, 0));
        QCOMPARE(front->pos(), frontPlace);
        QCOMPARE(back->pos(), backPlace);
    }
    QCOMPARE(Forms::ifLoaded<Form6_Del>(), &del);
}

void tst_chrome::trayIcon_data()
{
    QTest::addColumn<Loader>("load");
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<bool>("shows");
    QTest::addColumn<bool>("iconStays");
    using R = QSystemTrayIcon;
    QTest::newRow("main, left press") << loader<Form1_Ini>() << R::Trigger << true << false;
    QTest::newRow("main, right release") << loader<Form1_Ini>() << R::Context << true << true;
    QTest::newRow("main, double click") << loader<Form1_Ini>() << R::DoubleClick << false << true;
    QTest::newRow("main, middle click") << loader<Form1_Ini>() << R::MiddleClick << false << true;
    QTest::newRow("admin, right release") << loader<Form2_Lista>() << R::Context << true << false;
    QTest::newRow("about, left press") << loader<Form3_About>() << R::Trigger << true << false;
    QTest::newRow("help, right release") << loader<Form4_Help>() << R::Context << true << false;
}

void tst_chrome::trayIcon()
{
    QFETCH(Loader, load);
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(bool, shows);
    QFETCH(bool, iconStays);
    TestInstall install;
    SkinnedForm* form = open(load);
    form->minimize_to_tray();
    QVERIFY(!form->isVisible());
    QVERIFY(form->trayIconVisible());

    form->trayActivated(reason);
    QCOMPARE(form->isVisible(), shows);
    QCOMPARE(form->pos(), QPoint(70, 80));
    if (iconStays) {
        QTest::qWait(30);
        QVERIFY(form->trayIconVisible());
    } else {
        QTRY_VERIFY(!form->trayIconVisible());
    }
}

void tst_chrome::titleBarButtons()
{
    QFETCH(Loader, load);
    TestInstall install;
    SkinnedForm* form = open(load);
    QTest::mouseClick(part(form, "imgMinimizar"), Qt::LeftButton);
    QVERIFY(form->isMinimized());

    // With no tray to come back from, hiding to the tray minimizes instead.
    install.platform.tray = false;
    QTest::mouseClick(part(form, "imgTrayOn"), Qt::LeftButton);
    QVERIFY(form->isMinimized());
    QVERIFY(!form->trayIconVisible());

    // The plain tray image hides to the tray too, in every window.
    install.platform.tray = true;
    form->Show();
    QTest::mouseClick(part(form, "imgTray"), Qt::LeftButton);
    QVERIFY(!form->isVisible());
    QVERIFY(form->trayIconVisible());
}

void tst_chrome::doubleClickIsOneClick_data()
{
    QTest::addColumn<Loader>("load");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("signals");
    const QStringList twice{"MouseDown", "MouseUp", "Click", "DblClick", "MouseUp"};
    QTest::newRow("image, double click") << loader<Form1_Ini>() << "btnBack"
                                         << "dclick" << twice;
    QTest::newRow("label, double click") << loader<Form4_Help>() << "lblURL"
                                         << "dclick" << twice;
    QTest::newRow("image button, Space") << loader<Form1_Ini>() << "btnHome"
                                         << "space" << QStringList{"Click"};
    QTest::newRow("image button, Enter") << loader<Form3_About>() << "imgFechar"
                                         << "enter" << QStringList{"Click"};
    QTest::newRow("decorative image, Enter") << loader<Form1_Ini>() << "abaTopo"
                                             << "enter" << QStringList{};
}

void tst_chrome::doubleClickIsOneClick()
{
    QFETCH(Loader, load);
    QFETCH(QString, control);
    QFETCH(QString, input);
    QFETCH(QStringList, signals);
    TestInstall install;
    SkinnedForm* form = open(load);
    QWidget* c = part(form, control);
    // Only a button takes Tab focus; the window keeps running when it is clicked.
    QCOMPARE(bool(c->focusPolicy() & Qt::TabFocus), !signals.isEmpty());
    disconnect(c, nullptr, nullptr, nullptr);
    QStringList log;
    if (auto* image = qobject_cast<ImageControl*>(c))
        record(image, log);
    else
        record(qobject_cast<LabelControl*>(c), log);
    if (input == u"dclick")
        QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, c->geometry().center());
    else
        QTest::keyClick(c, input == u"space" ? Qt::Key_Space : Qt::Key_Return);
    QCOMPARE(log.join(' '), signals.join(' '));
}

void tst_chrome::doubleClickOpeningWindowLeavesItAlone()
{
    TestInstall install;
    Form1_Ini& main = static_cast<Form1_Ini&>(*open(loader<Form1_Ini>()));
    // btnAdm opens the administration window over the main one, with "Gravar posição" where
    // the button was: the second press of the double click must not reach it.
    const QPoint at = part(&main, "btnAdm")->geometry().center();
    const ulong t = 100000;
    mouseAt(main.windowHandle(), at, QEvent::MouseButtonPress, t);
    mouseAt(main.windowHandle(), at, QEvent::MouseButtonRelease, t + 40);
    auto* admin = Forms::ifLoaded<Form2_Lista>();
    QVERIFY(admin && admin->isVisible());
    auto* position = qobject_cast<LabelControl*>(part(admin, "lblPosition"));
    QVERIFY(position->geometry().contains(at));
    QStringList log;
    record(position, log);
    install.statements.clear();
    mouseAt(admin->windowHandle(), at, QEvent::MouseButtonPress, t + 80);
    mouseAt(admin->windowHandle(), at, QEvent::MouseButtonRelease, t + 120);
    QCOMPARE(log, QStringList{});
    QCOMPARE(install.statements, QStringList{});
    // A later click is an ordinary one.
    const ulong later = t + 120 + QGuiApplication::styleHints()->mouseDoubleClickInterval() + 1;
    mouseAt(admin->windowHandle(), at, QEvent::MouseButtonPress, later);
    QCOMPARE(log, QStringList{"MouseDown"});
    mouseAt(admin->windowHandle(), at, QEvent::MouseButtonRelease, later + 10);
}

void tst_chrome::storedPositionOffEveryScreen_data()
{
    QTest::addColumn<double>("left"); // stored twips
    QTest::addColumn<double>("top");
    QTest::addColumn<QPoint>("shown"); // pixels; (-1, -1): wholly on the screen, anywhere
    QTest::newRow("on the screen") << 1500.0 << 1200.0 << QPoint(100, 80);
    QTest::newRow("100 x 50 pixels seen")
        << -(304 - 100) * 15.0 << -(490 - 50) * 15.0 << QPoint(-(304 - 100), -(490 - 50));
    QTest::newRow("99 pixels seen") << -(304 - 99) * 15.0 << 0.0 << QPoint(0, 0);
    QTest::newRow("right of the screen") << 90000.0 << 1500.0 << QPoint(-1, 100);
    QTest::newRow("1e12 does not wrap") << 1e12 << 1e12 << QPoint(-1, -1);
    QTest::newRow("-1e12 does not wrap") << -1e12 << 3000.0 << QPoint(0, 200);
}

void tst_chrome::storedPositionOffEveryScreen()
{
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(QPoint, shown);
    TestInstall install;
    const QString row = "UPDATE Tabela1 SET left=%1, top=%2 WHERE id=1";
    TestInstall::exec(install.configDb(), row.arg(left, 0, 'g', 17).arg(top, 0, 'g', 17));
    const QStringList stored =
        TestInstall::query(install.configDb(), "select left||','||top from Tabela1");
    Form1_Ini& main = Forms::get<Form1_Ini>();
    QTRY_VERIFY(main.isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (shown == QPoint(-1, -1))
        QVERIFY2(screen.contains(main.geometry()),
                 qPrintable(QString("%1,%2").arg(main.x()).arg(main.y())));
    if (shown.x() != -1)
        QCOMPARE(main.x(), shown.x());
    if (shown.y() != -1)
        QCOMPARE(main.y(), shown.y());
    QVERIFY(screen.contains(main.geometry()) ||
            QGuiApplication::primaryScreen()->geometry().intersects(main.geometry()));
    // Only the window moved.
    QCOMPARE(TestInstall::query(install.configDb(), "select left||','||top from Tabela1"), stored);
}

QTEST_MAIN(tst_chrome)
#include "tst_chrome.moc"
