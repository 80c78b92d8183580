#include "FakePlatform.h"
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
    Forms::get<Form1_Ini>().timer("TimerShowForm")->setEnabled(false);
    form->move(70, 80);
    form->Show();
    return form;
}

QWidget* part(QWidget* form, const QString& name)
{
    return form->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

QRect onScreen(QWidget* form, QWidget* c) { return QRect(form->pos() + c->pos(), c->size()); }

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
    for (bool over : {true, false}) {
        install.platform.cursor = over ? close.center() : close.bottomRight() + QPoint(3, 3);
        QTRY_COMPARE(part(form, "imgFechar")->isHidden(), over);
        QCOMPARE(part(form, "imgFecharOn")->isHidden(), !over);
        for (const QString& name : {plain[0], plain[1]})
            QVERIFY(!part(form, name)->isHidden() && part(form, name + "On")->isHidden());
    }
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

QTEST_MAIN(tst_chrome)
#include "tst_chrome.moc"
