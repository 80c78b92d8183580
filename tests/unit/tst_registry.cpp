#include "Clicks.h"
#include "FakePlatform.h"
#include "Parts.h"
#include "TestInstall.h"

#include "browser/Form1_Ini.h"
#include "core/QvError.h"
#include "dialogs/Form5_Msg.h"
#include "forms/Controls.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/ListBox.h"
#include "info/Form3_About.h"
#include "info/Form4_Help.h"
#include "layouts/Layouts.h"
#include "sites/Form2_Lista.h"

#include <QLabel>
#include <QPointer>
#include <QTest>

namespace {
// A window that binds a part its layout does not have, as a misspelt member name would.
class MisspeltWindow : public BaseForm {
public:
    enum class Part { Control, Timer };
    explicit MisspeltWindow(Part part)
        : BaseForm(layout::Form3_AboutLayout)
    {
        if (part == Part::Timer)
            timer("TimerNenhum");
        else
            control<ImageControl>("btnMeuSitio");
    }
};

QStringList loadedNames()
{
    QStringList names;
    for (BaseForm* f : Forms::loaded())
        names.append(f->Name());
    return names;
}
} // namespace

class tst_registry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { FormTimer::setSpeedFactorForTesting(20); }

    void lazyLoadRunsFormLoadFirst()
    {
        TestInstall inst;
        Forms::get<Form1_Ini>();
        QVERIFY(!Forms::ifLoaded<Form3_About>());
        // The load handler has armed the hand-over timer before the touched member is reached.
        FormTimer* hide = part<FormTimer>(Forms::get<Form3_About>(), "TimerHideForm");
        QVERIFY(hide->Enabled() && hide->Interval() == 250);
        Forms::get<Form2_Lista>();
        QPointer<Form3_About> about = &Forms::get<Form3_About>();
        QCOMPARE(about.data(), Forms::ifLoaded<Form3_About>());
        QCOMPARE(loadedNames(), (QStringList{"Form1_Ini", "Form3_About", "Form2_Lista"}));

        // Unloading destroys the window; the next touch loads a fresh one at the end.
        Forms::unload(about);
        QCOMPARE(loadedNames(), (QStringList{"Form1_Ini", "Form2_Lista"}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about.isNull());
        Forms::get<Form3_About>();
        QCOMPARE(loadedNames(), (QStringList{"Form1_Ini", "Form2_Lista", "Form3_About"}));
        QVERIFY2(inst.errors.isEmpty(), qPrintable(inst.errors.join('\n')));

        // A name the layout does not have fails when the window is built, in every build, not
        // only in debug ones.
        QVERIFY_THROWS_EXCEPTION(QvError, MisspeltWindow{MisspeltWindow::Part::Timer});
        QVERIFY_THROWS_EXCEPTION(QvError, MisspeltWindow{MisspeltWindow::Part::Control});
    }

    // The hand-over delays, exact on the timer objects; the end-to-end runs only see their
    // order and lower bounds.
    void handOverTimersKeepTheirIntervals_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("timer");
        QTest::addColumn<int>("interval");
        QTest::newRow("first show") << "start"
                                    << "Form1_Ini"
                                    << "TimerShowForm" << 1000;
        QTest::newRow("main hides after the list loads") << "open"
                                                         << "Form2_Lista"
                                                         << "TimerHideForm" << 250;
        QTest::newRow("closing unloads later") << "close"
                                               << "Form1_Ini"
                                               << "TimerFormNothing" << 250;
        QTest::newRow("opening a site hands back") << "site"
                                                   << "Form2_Lista"
                                                   << "TimerShowForm" << 1000;
        QTest::newRow("notice counts seconds") << "notice"
                                               << "Form5_Msg"
                                               << "TimerCount" << 1000;
    }

    void handOverTimersKeepTheirIntervals()
    {
        QFETCH(QString, step);
        QFETCH(QString, window);
        QFETCH(QString, timer);
        QFETCH(int, interval);

        TestInstall inst;
        TestInstall::exec(inst.linksDb(),
                          QStringLiteral("insert into Tabela1 (titulo1, url) values ('a', 'b')"));
        Forms::get<Form1_Ini>();
        if (step == QLatin1String("open") || step == QLatin1String("close") ||
            step == QLatin1String("site")) {
            Form2_Lista& adm = Forms::get<Form2_Lista>();
            if (step == QLatin1String("close"))
                clickControl(&adm, QStringLiteral("imgFechar"));
            if (step == QLatin1String("site")) {
                part<ListBox>(adm, "lstSites")->setCurrentRow(0);
                adm.lstSites_DblClick();
            }
        }
        if (step == QLatin1String("notice"))
            Forms::get<Form5_Msg>();
        const FormTimer* t = part<FormTimer>(Forms::loadedByName(window), timer);
        QVERIFY(t->Enabled());
        QCOMPARE(t->Interval(), interval);
        QVERIFY2(inst.errors.isEmpty(), qPrintable(inst.errors.join('\n')));
    }

    void deferredUnloadByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("remaining");

        const QStringList all{"Form1_Ini", "Form3_About", "Form4_Help"};
        QTest::newRow("About") << "Form3_About" << QStringList{"Form1_Ini", "Form4_Help"};
        QTest::newRow("other letter case") << "form3_about" << all;
        QTest::newRow("trailing space") << "Form3_About " << all;
        QTest::newRow("not loaded") << "Form2_Lista" << all;
    }

    void deferredUnloadByName()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, remaining);

        TestInstall inst;
        Form1_Ini& main = Forms::get<Form1_Ini>();
        Forms::get<Form3_About>();
        Forms::get<Form4_Help>();
        // What a secondary window does when it hands back.
        part<QLabel>(main, "lblFormNothing")->setText(name);
        FormTimer* timer = part<FormTimer>(main, "TimerFormNothing");
        timer->setInterval(250);
        timer->setEnabled(true);
        QTRY_VERIFY(!timer->Enabled());
        QCOMPARE(loadedNames(), remaining);
        QCOMPARE(part<QLabel>(main, "lblFormNothing")->text(), name);
        QVERIFY(!timer->isRunning());
        QCOMPARE(inst.platform.endedWith, -1);
    }

    void closingMainWindowUnloadsAllAndEnds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close image") << "imgFechar";
        QTest::newRow("highlighted close image") << "imgFecharOn";
        QTest::newRow("window closed from outside") << "close";
    }

    void closingMainWindowUnloadsAllAndEnds()
    {
        QFETCH(QString, how);

        TestInstall inst;
        Form1_Ini& main = Forms::get<Form1_Ini>();
        main.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        Forms::get<Form3_About>();
        Forms::get<Form2_Lista>();
        const qsizetype statements = inst.statements.size();

        if (how == QLatin1String("close")) {
            main.close();
        } else {
            auto* image = part<ImageControl>(main, how);
            // The highlighted twin is only visible under the pointer.
            part<FormTimer>(main, "TimerMouseOver")->setEnabled(false);
            image->show();
            QTest::mouseClick(image, Qt::LeftButton);
        }
        QVERIFY(Forms::loaded().isEmpty());
        QCOMPARE(inst.platform.endedWith, 0);
        QCOMPARE(inst.statements.size(), statements); // nothing is saved on the way out
        QVERIFY2(inst.errors.isEmpty(), qPrintable(inst.errors.join('\n')));
    }
};

QTEST_MAIN(tst_registry)
#include "tst_registry.moc"
