#include "FakePlatform.h"
#include "Parts.h"
#include "TestInstall.h"

#include "browser/Form1_Ini.h"
#include "core/UrlTools.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "info/Form3_About.h"
#include "info/Form4_Help.h"
#include "sites/Form2_Lista.h"

#include <QLabel>
#include <QTest>

namespace {
// Opens a window from the main window's button, as the user does, and waits for the hand-over.
template <class T>
T& openFromMain(void (Form1_Ini::*button)())
{
    Form1_Ini& main = Forms::get<Form1_Ini>();
    part<FormTimer>(main, "TimerShowForm")->setEnabled(false);
    main.move(40, 50);
    main.Show();
    (main.*button)();
    T& form = Forms::get<T>();
    if (!QTest::qWaitFor([&] { return !main.isVisible(); }))
        qFatal("the main window did not hide");
    return form;
}
} // namespace

class tst_info : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { FormTimer::setSpeedFactorForTesting(10); }
    void aboutOpensMakerSite();
    void helpOpensDocument_data();
    void helpOpensDocument();
    void helpLinkGoesToAdministration();
};

void tst_info::aboutOpensMakerSite()
{
    TestInstall install;
    Form3_About& about = openFromMain<Form3_About>(&Form1_Ini::btnAbout_Click);
    QTest::mouseClick(part(&about, "btnMeuSite"), Qt::LeftButton);
    QCOMPARE(install.platform.externals, QStringList{QString::fromUtf16(kMakerSite)});
    QCOMPARE(Forms::ifLoaded<Form3_About>(), &about);
    QVERIFY(about.isVisible());
}

void tst_info::helpOpensDocument_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("file");
    QTest::newRow("btn1") << "btn1"
                          << "ReadMe_Informacoes-e-consideracoes.pdf";
    QTest::newRow("btn2") << "btn2"
                          << "ReadMe_Licenca-de-utilizacao.pdf";
    QTest::newRow("btn3") << "btn3"
                          << "ReadMe_Caracteristicas-da-versao.pdf";
}

void tst_info::helpOpensDocument()
{
    QFETCH(QString, button);
    QFETCH(QString, file);
    // The test installation has no ReadMe folder: every document is missing, and that is
    // nobody's error but the document viewer's.
    TestInstall install;
    Form4_Help& help = openFromMain<Form4_Help>(&Form1_Ini::btnHelp_Click);
    QTest::mouseClick(part(&help, qPrintable(button)), Qt::LeftButton);
    QCOMPARE(install.platform.files, QStringList{install.dir() + "/ReadMe/" + file});
    QVERIFY(install.platform.externals.isEmpty());
    QVERIFY(install.errors.isEmpty());
    QCOMPARE(Forms::ifLoaded<Form4_Help>(), &help);
    QVERIFY(help.isVisible());
}

void tst_info::helpLinkGoesToAdministration()
{
    TestInstall install;
    Form1_Ini& main = Forms::get<Form1_Ini>();
    part<QLabel>(main, "lblTituloHome")->setText(QStringLiteral("Minha página"));
    QPointer<Form4_Help> help = &openFromMain<Form4_Help>(&Form1_Ini::btnHelp_Click);
    help->move(123, 77);

    QTest::mouseClick(part(help, "lblURL"), Qt::LeftButton);
    Form2_Lista* lista = Forms::ifLoaded<Form2_Lista>();
    QVERIFY(lista);
    QVERIFY(lista->isVisible());
    QCOMPARE(lista->pos(), QPoint(123, 77));
    QCOMPARE(part<QLabel>(lista, "lblTituloHome")->text(), QStringLiteral("Minha página"));
    QVERIFY(!Forms::ifLoaded<Form4_Help>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(help.isNull());
    // The administration window's own hand-over keeps the main window hidden.
    QTest::qWait(60);
    QVERIFY(!main.isVisible());
    QVERIFY(install.errors.isEmpty());

    // The next request loads a fresh Help window.
    main.btnHelp_Click();
    Form4_Help* again = Forms::ifLoaded<Form4_Help>();
    QVERIFY(again);
    QVERIFY(part<FormTimer>(again, "TimerHideForm")->Enabled());
    QCOMPARE(part<FormTimer>(again, "TimerMouseOver")->Interval(), 100);
    QVERIFY(again->isVisible());
}

QTEST_MAIN(tst_info)
#include "tst_info.moc"
