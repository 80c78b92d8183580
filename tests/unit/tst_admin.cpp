#include "FakeBrowser.h"
#include "FakePlatform.h"
#include "Parts.h"
#include "TestInstall.h"

#include "Clicks.h"
#include "TestMain.h"
#include "browser/Form1_Ini.h"
#include "forms/Controls.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/ListBox.h"
#include "info/Form3_About.h"
#include "info/Form4_Help.h"
#include "navigation/GotoForm.h"
#include "navigation/SuggestionList.h"
#include "sites/Form2_Lista.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class tst_admin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_inst = std::make_unique<TestInstall>();
        FormTimer::setSpeedFactorForTesting(20);
    }
    void cleanup() { m_inst.reset(); }

    void loadListsStoredTitlesInOrder();
    void rowsShowStoredTitlesAsOneLine();
    void openSite_data();
    void openSite();
    void openTextExternallyTakesTheBoxAsTyped();
    void siteThatCannotBeOpened_data();
    void siteThatCannotBeOpened();
    void closeHandsBack_data();
    void closeHandsBack();
    void missingLinksDatabaseIsCreatedEmpty();
    void brokenLinksDatabaseKeepsMainWindow();

private:
    Form1_Ini& main() { return Forms::get<Form1_Ini>(); }
    // The main window as the user first sees it, after its delayed first show.
    void showMain()
    {
        QVERIFY(QTest::qWaitFor([this] { return main().isVisible(); }));
    }
    Form2_Lista* openAdmin()
    {
        showMain();
        clickControl(&main(), "btnAdm");
        return Forms::ifLoaded<Form2_Lista>();
    }
    void seed(const QString& sql) { TestInstall::exec(m_inst->linksDb(), sql); }

    std::unique_ptr<TestInstall> m_inst;
};

void tst_admin::loadListsStoredTitlesInOrder()
{
    seed("insert into Tabela1 (id,titulo1,url) values (5,'Zebra','z'), (40000,'árvore','a'),"
         "(3000000000,'Abacaxi','  http://b/  '), (7,'ébano','e'), (8,'Édipo','d'),"
         "(9,'banana','b'), (10,NULL,'n'), (11,'a''''b\\nc','x\\ty')");
    showMain();
    m_inst->statements.clear();
    Form2_Lista* f = openAdmin();
    QVERIFY(f);
    QCOMPARE(m_inst->statements,
             QStringList{"SELECT id,titulo1,url FROM Tabela1 order by titulo1 asc"});
    const QStringList titles{"",       "a''b\\nc", "Abacaxi", "árvore",
                             "banana", "ébano",    "Édipo",   "Zebra"};
    const QList<qint64> ids{10, 11, 3000000000, 40000, 9, 7, 8, 5};
    QCOMPARE(part<ListBox>(f, "lstSites")->count(), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
        QCOMPARE(part<ListBox>(f, "lstSites")->text(i), titles[i]);
        QCOMPARE(f->rowId(i), ids[i]);
    }
    QCOMPARE(part<QLabel>(f, "lblTotal")->text(), QString("8 iten(s)"));
    QCOMPARE(part<ListBox>(f, "lstSites")->currentRow(), -1);

    // Showing an item reads it by its full id and decodes both values.
    m_inst->statements.clear();
    part<ListBox>(f, "lstSites")->setCurrentRow(2);
    QCOMPARE(m_inst->statements, QStringList{"select * from Tabela1 where id=3000000000"});
    QCOMPARE(part<QLineEdit>(f, "txtURL")->text(), QString("  http://b/  "));
    part<ListBox>(f, "lstSites")->setCurrentRow(1);
    QCOMPARE(part<QLineEdit>(f, "txtTitulo1")->text(), QString("a'b\r\nc"));
    QCOMPARE(part<QLineEdit>(f, "txtURL")->text(), QString("x\ty"));
    QVERIFY2(m_inst->errors.isEmpty(), qPrintable(m_inst->errors.join('\n')));
}

// A title saved with a page's line separators and bidi override is shown as one line that
// reads in order; the list and the text box keep what is stored.
void tst_admin::rowsShowStoredTitlesAsOneLine()
{
    seed("insert into Tabela1 (id,titulo1,url) values (1,'Fatura\u2028\u202Eexe.pdf','f')");
    showMain();
    Form2_Lista* f = openAdmin();
    QVERIFY(f);
    const ListBox* list = part<ListBox>(f, "lstSites");
    QCOMPARE(list->model()->index(0, 0).data().toString(), QString("Fatura exe.pdf"));
    QCOMPARE(list->text(0), QString("Fatura\u2028\u202Eexe.pdf"));
    part<ListBox>(f, "lstSites")->setCurrentRow(0);
    QCOMPARE(part<QLineEdit>(f, "txtTitulo1")->text(), QString("Fatura\u2028\u202Eexe.pdf"));
}

void tst_admin::openSite_data()
{
    QTest::addColumn<int>("downKeys");
    QTest::addColumn<QString>("handedOver");
    QTest::addColumn<QString>("navigation"); // after the application directory if relative

    QTest::newRow("spaces trimmed") << 1 << "http://b/a b"
                                    << "http://b/a b";
    QTest::newRow("id above 2^31") << 2 << "pagina.htm"
                                   << "/Web/pagina.htm";
}

void tst_admin::openSite()
{
    QFETCH(int, downKeys);
    QFETCH(QString, handedOver);
    QFETCH(QString, navigation);
    seed("insert into Tabela1 (id,titulo1,url) values (1,'A','  http://b/a b  '),"
         "(3000000000,'B','pagina.htm')");
    Form2_Lista* f = openAdmin();
    QSignalSpy activated(part<ListBox>(f, "lstSites"), &QListView::activated);
    for (int i = 0; i < downKeys; ++i)
        QTest::keyClick(part<ListBox>(f, "lstSites"), Qt::Key_Down);
    QCOMPARE(part<ListBox>(f, "lstSites")->currentRow(), downKeys - 1);
    f->move(f->pos() + QPoint(30, 20));
    const QPoint place = f->pos();
    const qint64 id = downKeys ? f->rowId(downKeys - 1) : 0;
    m_inst->statements.clear();
    QTest::keyClick(part<ListBox>(f, "lstSites"), Qt::Key_Return);
    QCOMPARE(activated.count(), 0); // the window takes Enter; the list never sees it
    QCOMPARE(m_inst->statements.value(0),
             "select url from Tabela1 where id=" + QString::number(id));
    QCOMPARE(part<QLabel>(main(), "lblNavigate")->text(), handedOver);

    auto* browser = part<FakeBrowser>(main(), "WebBrowser2");
    if (navigation.startsWith('/'))
        navigation.prepend(m_inst->dir());
    QTRY_COMPARE(browser->navigations.value(browser->navigations.size() - 1), navigation);
    QVERIFY(main().isVisible());
    QCOMPARE(main().pos(), place);
    QCOMPARE(part<QLabel>(main(), "lblFormNothing")->text(), QString("Form2_Lista"));
    QTRY_VERIFY(!Forms::ifLoaded<Form2_Lista>());
    QVERIFY(m_inst->errors.isEmpty());

    // The address window's suggestion of the same site opens it as the list did: saved sites
    // come first, in the list's order, and "a" is in both.
    GotoForm& go = GotoForm::open();
    QTRY_VERIFY(go.suggestionsReady());
    go.findChild<QLineEdit*>("txtEndereco")->setText("a");
    auto* suggestions = go.findChild<SuggestionList*>("lstSugestoes");
    QVERIFY(suggestions && suggestions->suggestions().size() >= 2);
    const qsizetype opened = browser->navigations.size();
    QTest::mouseClick(suggestions, Qt::LeftButton, {},
                      QPoint(30, (downKeys - 1) * SuggestionList::kRowHeight + 5));
    QTRY_COMPARE(browser->navigations.size(), opened + 1);
    QCOMPARE(browser->navigations.last(), navigation);
    QVERIFY(m_inst->errors.isEmpty());
}

void tst_admin::openTextExternallyTakesTheBoxAsTyped()
{
    Form2_Lista* f = openAdmin();
    part<QLineEdit>(f, "txtURL")->setText("www.site.com.br");
    clickControl(f, "btnOpenText");
    QCOMPARE(m_inst->platform.externals, QStringList{m_inst->dir() + "/Web/www.site.com.br"});
}

void tst_admin::siteThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("why");
    QTest::newRow("no current item") << "";
    QTest::newRow("row deleted meanwhile") << "delete from Tabela1";
    QTest::newRow("unreadable database") << "drop table Tabela1";
}

void tst_admin::siteThatCannotBeOpened()
{
    QFETCH(QString, why);
    seed("insert into Tabela1 (id,titulo1,url) values (1,'A','a.htm')");
    Form2_Lista* f = openAdmin();
    QTRY_VERIFY(!main().isVisible());
    if (!why.isEmpty()) {
        QTest::keyClick(part<ListBox>(f, "lstSites"), Qt::Key_Down);
        seed(why);
    }
    auto* browser = part<FakeBrowser>(main(), "WebBrowser2");
    const qsizetype navigations = browser->navigations.size();
    const int beeps = m_inst->platform.beeps;
    QTest::keyClick(part<ListBox>(f, "lstSites"), Qt::Key_Return);
    // Said, by a notice or an error message; nothing handed over.
    QCOMPARE(m_inst->platform.beeps + m_inst->errors.size(), beeps + 1);
    QTest::qWait(1500 / 20 + 50);
    QVERIFY(f->isVisible() && !main().isVisible());
    QCOMPARE(browser->navigations.size(), navigations);
    QCOMPARE(part<QLabel>(main(), "lblNavigate")->text(), QString());
}

void tst_admin::closeHandsBack_data()
{
    using Opener = std::function<BaseForm*(Form1_Ini&)>;
    QTest::addColumn<Opener>("open");
    QTest::addColumn<QString>("how");
    const Opener about = [](Form1_Ini& m) {
        return (clickControl(&m, "btnAbout"), Forms::ifLoaded<Form3_About>());
    };
    const Opener help = [](Form1_Ini& m) {
        return (clickControl(&m, "btnHelp"), Forms::ifLoaded<Form4_Help>());
    };
    const Opener admin = [](Form1_Ini& m) {
        return (clickControl(&m, "btnAdm"), Forms::ifLoaded<Form2_Lista>());
    };
    QTest::newRow("about, close image") << about << "imgFechar";
    QTest::newRow("about, from outside") << about << "outside";
    QTest::newRow("help, Escape") << help << "Escape";
    QTest::newRow("help, from outside") << help << "outside";
    QTest::newRow("admin, Escape") << admin << "Escape";
    QTest::newRow("admin, from outside") << admin << "outside";
}

void tst_admin::closeHandsBack()
{
    using Opener = std::function<BaseForm*(Form1_Ini&)>;
    QFETCH(Opener, open);
    QFETCH(QString, how);
    showMain();
    QPointer<BaseForm> w = open(main());
    QVERIFY(w && w->isVisible() && main().isVisible());
    QCOMPARE(w->pos(), main().pos());
    QTRY_VERIFY(!main().isVisible());

    w->move(w->pos() + QPoint(45, -20));
    if (how == u"outside")
        w->close();
    else if (how == u"Escape")
        QTest::keyClick(w, Qt::Key_Escape);
    else
        clickControl(w, "imgFechar");
    QVERIFY(main().isVisible());
    QCOMPARE(main().pos(), w->pos());
    QTRY_VERIFY(w.isNull());
    QVERIFY(main().isVisible());
}

void tst_admin::missingLinksDatabaseIsCreatedEmpty()
{
    QVERIFY(QFile::remove(m_inst->linksDb()));
    Form2_Lista* f = openAdmin();
    QVERIFY2(f, qPrintable(m_inst->errors.join('\n')));
    QCOMPARE(part<QLabel>(f, "lblTotal")->text(), QString("0 iten(s)"));
    QCOMPARE(TestInstall::query(m_inst->linksDb(), "select count(*) from Tabela1"),
             QStringList{"0"});
}

void tst_admin::brokenLinksDatabaseKeepsMainWindow()
{
    const QByteArray junk = QByteArray("not a database\n").repeated(100);
    QFile file(m_inst->linksDb());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(junk);
    file.close();
    QVERIFY(!openAdmin());
    QCOMPARE(m_inst->errors.size(), 1);
    QVERIFY2(m_inst->errors.first().contains(m_inst->linksDb()), qPrintable(m_inst->errors[0]));
    QTest::qWait(100); // longer than the hand-over timers
    QVERIFY(main().isVisible());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), junk);
}

QV_TEST_MAIN(tst_admin)

#include "tst_admin.moc"
