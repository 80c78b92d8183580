#include "FakeBrowser.h"
#include "FakePlatform.h"
#include "Parts.h"
#include "TestInstall.h"

#include "Clicks.h"
#include "TestMain.h"
#include "browser/Form1_Ini.h"
#include "core/UrlTools.h"
#include "dialogs/Form5_Msg.h"
#include "dialogs/Form6_Del.h"
#include "dialogs/PageNotice.h"
#include "forms/Controls.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/ListBox.h"
#include "sites/BookmarkTransfer.h"
#include "sites/Form2_Lista.h"
#include "storage/SiteStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

namespace {
const QString kListSql = QStringLiteral("SELECT id,titulo1,url FROM Tabela1 order by titulo1 asc");
const QString kEmpty = QStringLiteral("O Título e a URL não podem ficar vazios.");
QString again() { return QStringLiteral("Este site já está na lista."); }

// Window keys act in the active window; the offscreen platform does not always make one active.
QWidget* activated(QWidget* w)
{
    QApplication::setActiveWindow(w->window());
    return w;
}

// Records each notice as it shows (its message, then its countdown at every tick); answers the
// delete confirmation, if it shows, with "SIM" or "NÃO".
class NoticeWatcher : public QObject {
public:
    NoticeWatcher() { qApp->installEventFilter(this); }

    QStringList messages;
    QList<QStringList> countdowns;
    bool confirmationShown = false;
    bool confirm = false;
    // How the answer is given: "click", "key" (Enter / Escape) or "outside" (a close from the
    // window manager, which answers "NÃO").
    QString answerBy = QStringLiteral("click");
    std::function<void()> beforeAnswer;
    std::function<void()> onNotice;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto* del = qobject_cast<Form6_Del*>(watched)) {
            confirmationShown = true;
            QTimer::singleShot(0, del, [this, del] { answer(del); });
        }
        if (auto* msg = qobject_cast<Form5_Msg*>(watched)) {
            messages << part<QLabel>(msg, "lblMensagem")->text();
            countdowns.append({part<QLabel>(msg, "lblCount")->text()});
            connect(part<FormTimer>(msg, "TimerCount"), &FormTimer::Timer, this,
                    [this, msg, n = countdowns.size() - 1] {
                        countdowns[n] << part<QLabel>(msg, "lblCount")->text() +
                                             (msg->isVisible() ? "" : " hidden");
                    });
            if (onNotice)
                onNotice();
        }
        return false;
    }

private:
    void answer(Form6_Del* del)
    {
        if (beforeAnswer)
            beforeAnswer();
        if (answerBy == u"outside")
            del->close();
        else if (answerBy == u"key")
            QTest::keyClick(activated(del), confirm ? Qt::Key_Return : Qt::Key_Escape);
        else
            clickControl(del, confirm ? "btnDelete" : "btnClose");
    }
};
} // namespace

class tst_editing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void insertStoresThenRefills();
    void refusedActionsChangeNothing_data();
    void refusedActionsChangeNothing();
    void updateChangesOnlyCurrentItem();
    void updateOfDeletedRowIsNotSuccess();
    void savedRowComesIntoView_data();
    void savedRowComesIntoView();
    void untouchedLongAddressSurvivesUpdate();
    void makeHomeStoresApostropheOnce();
    void makeHomeWithoutConfigRowIsError();
    void positionOffScreenIsNegative();
    void startMinimizedFlag();
    void deleteSelected_data();
    void deleteSelected();
    void deleteAfterAdministrationClosed();
    void insertIntoUnwritableDatabase_data();
    void insertIntoUnwritableDatabase();
    void savedPageIsListedOnce_data();
    void savedPageIsListedOnce();
    void droppedOrPastedLinksBecomeSites_data();
    void droppedOrPastedLinksBecomeSites();
    void pageNoticesMergeAndNeverWait_data();
    void pageNoticesMergeAndNeverWait();

private:
    Form1_Ini& main() { return Forms::get<Form1_Ini>(); }
    // The administration window, opened from the main window over three sites.
    Form2_Lista& admin()
    {
        TestInstall::exec(m_inst->linksDb(), "insert into Tabela1 (id,titulo1,url) values "
                                             "(10,'Alfa','a'), (40000,'Beta','b'), "
                                             "(3000000000,'Gama','g')");
        if (!QTest::qWaitFor([this] { return main().isVisible(); }))
            qWarning("the main window did not show");
        clickControl(&main(), "btnAdm");
        m_inst->statements.clear();
        return Forms::get<Form2_Lista>();
    }
    QStringList sites() const
    {
        return TestInstall::query(m_inst->linksDb(),
                                  "select titulo1||'|'||url from Tabela1 order by id");
    }
    QStringList config(const QString& expr) const
    {
        return TestInstall::query(m_inst->configDb(), "select " + expr + " from Tabela1");
    }

    std::unique_ptr<TestInstall> m_inst;
    std::unique_ptr<NoticeWatcher> m_notices;
};

void tst_editing::init()
{
    m_inst = std::make_unique<TestInstall>();
    m_notices = std::make_unique<NoticeWatcher>();
    FormTimer::setSpeedFactorForTesting(20);
}

void tst_editing::cleanup()
{
    const QList<QStringList> countdowns = m_notices->countdowns;
    m_notices.reset();
    m_inst.reset();
    // Every notice starts at 3 and closes itself at the third tick.
    for (const QStringList& c : countdowns)
        QCOMPARE(c, QStringList({"3", "2", "1", "0 hidden"}));
}

void tst_editing::insertStoresThenRefills()
{
    Form2_Lista& f = admin();
    part<QLineEdit>(f, "txtTitulo1")->setText("It's \"here\"\t");
    part<QLineEdit>(f, "txtURL")->setText("http://x/?b='2'");
    int rowsDuringNotice = -1;
    m_notices->onNotice = [&] { rowsDuringNotice = part<ListBox>(f, "lstSites")->count(); };
    clickControl(&f, "btnInsert");
    QCOMPARE(m_inst->statements, QStringList({"insert into Tabela1 (titulo1,url) values ('It''s "
                                              "\"here\"\\t', 'http://x/?b=''2''')",
                                              kListSql}));
    QCOMPARE(sites().last(), QString("It's \"here\"\\t|http://x/?b='2'"));
    QCOMPARE(m_notices->messages, QStringList{"Item inserido com sucesso!"});
    QCOMPARE(m_inst->platform.beeps, 1);
    QCOMPARE(rowsDuringNotice, 3); // the refill comes after the notice
    QCOMPARE(part<QLabel>(f, "lblTotal")->text(), QString("4 iten(s)"));
    QVERIFY(part<QLineEdit>(f, "txtTitulo1")->text().isEmpty() &&
            part<QLineEdit>(f, "txtURL")->text().isEmpty());
}

void tst_editing::refusedActionsChangeNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("notice");

    QTest::newRow("insert, empty URL") << "btnInsert" << -1 << "   "
                                       << "" << kEmpty;
    QTest::newRow("make home, empty title") << "btnMakeHome" << 0 << ""
                                            << "x.htm" << kEmpty;
    QTest::newRow("update, none selected") << "btnUpdate" << -1 << "T"
                                           << "u" << u"É preciso selecionar um item primeiro."_qs;
    QTest::newRow("delete, none selected")
        << "btnDelete" << -1 << "T"
        << "u" << u"É preciso selecionar pelo menos um item primeiro."_qs;
}

void tst_editing::refusedActionsChangeNothing()
{
    QFETCH(QString, button);
    QFETCH(int, row);
    QFETCH(QString, title);
    QFETCH(QString, url);
    QFETCH(QString, notice);
    Form2_Lista& f = admin();
    part<ListBox>(f, "lstSites")->setCurrentRow(row);
    part<QLineEdit>(f, "txtTitulo1")->setText(title);
    part<QLineEdit>(f, "txtURL")->setText(url);
    m_inst->statements.clear();
    clickControl(&f, button);
    QCOMPARE(m_notices->messages, QStringList{notice});
    QVERIFY(!m_notices->confirmationShown);
    QVERIFY(m_inst->statements.isEmpty());
    QCOMPARE(sites(), QStringList({"Alfa|a", "Beta|b", "Gama|g"}));
    QCOMPARE(part<QLineEdit>(f, "txtTitulo1")->text(), title);
    QCOMPARE(part<QLineEdit>(f, "txtURL")->text(), url);
}

void tst_editing::updateChangesOnlyCurrentItem()
{
    Form2_Lista& f = admin();
    part<ListBox>(f, "lstSites")->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    part<ListBox>(f, "lstSites")->setCurrentRow(2, QItemSelectionModel::Select);
    part<QLineEdit>(f, "txtTitulo1")->setText("Gama nova");
    part<QLineEdit>(f, "txtURL")->setText("g2");
    m_inst->statements.clear();
    clickControl(&f, "btnUpdate");
    QCOMPARE(m_inst->statements, QStringList({"UPDATE Tabela1 SET [titulo1]='Gama nova', "
                                              "[url]='g2' WHERE id=3000000000",
                                              kListSql}));
    QCOMPARE(sites(), QStringList({"Alfa|a", "Beta|b", "Gama nova|g2"}));
    QCOMPARE(m_notices->messages, QStringList{"Item atualizado com sucesso!"});
    QCOMPARE(f.selectedCount(), 0);
    QCOMPARE(part<ListBox>(f, "lstSites")->currentRow(), -1);
    QCOMPARE(part<QLineEdit>(f, "txtTitulo1")->text(), QString("Gama nova"));
}

void tst_editing::updateOfDeletedRowIsNotSuccess()
{
    Form2_Lista& f = admin();
    part<ListBox>(f, "lstSites")->setCurrentRow(1);
    TestInstall::exec(m_inst->linksDb(), "delete from Tabela1 where id=40000");
    clickControl(&f, "btnUpdate");
    QCOMPARE(m_notices->messages.size(), 1);
    QVERIFY(m_notices->messages.first() != "Item atualizado com sucesso!");
    QCOMPARE(sites(), QStringList({"Alfa|a", "Gama|g"}));
    QCOMPARE(part<QLabel>(f, "lblTotal")->text(), QString("2 iten(s)"));
}

void tst_editing::savedRowComesIntoView_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("insert") << "btnInsert";
    QTest::newRow("update") << "btnUpdate";
}

void tst_editing::savedRowComesIntoView()
{
    QFETCH(QString, button);
    // The saved row lands far below the rows a refill shows first.
    QStringList values;
    for (int i = 1; i <= 300; ++i)
        values << QStringLiteral("(%1,'Site %2','u')").arg(100000 + i).arg(i);
    TestInstall::exec(m_inst->linksDb(),
                      "insert into Tabela1 (id,titulo1,url) values " + values.join(','));
    Form2_Lista& f = admin();
    ListBox* list = part<ListBox>(f, "lstSites");
    QTRY_VERIFY(f.isVisible());
    if (button == QLatin1String("btnUpdate"))
        list->setCurrentRow(0);
    part<QLineEdit>(f, "txtTitulo1")->setText("Site 250a");
    part<QLineEdit>(f, "txtURL")->setText("n");
    clickControl(&f, button);
    const int row = int(list->model()
                            ->match(list->model()->index(0, 0), Qt::DisplayRole, "Site 250a")
                            .value(0)
                            .row());
    QCOMPARE(list->text(row - 1), QString("Site 250"));
    const QRect shown = list->visualRect(list->model()->index(row, 0));
    QVERIFY(list->viewport()->rect().contains(shown));
    QCOMPARE(list->currentRow(), -1);
    QCOMPARE(f.selectedCount(), 0);
}

void tst_editing::untouchedLongAddressSurvivesUpdate()
{
    // Longer than a line edit's default limit of 32,767 characters.
    const QString url = "http://x/?q=" + QString(40006, QChar('a' + 1));
    Form2_Lista& f = admin();
    TestInstall::exec(m_inst->linksDb(), "update Tabela1 set url='" + url + "' where id=10");
    part<ListBox>(f, "lstSites")->setCurrentRow(0);
    QCOMPARE(part<QLineEdit>(f, "txtURL")->text().size(), 40018);
    clickControl(&f, "btnUpdate");
    QCOMPARE(m_notices->messages, QStringList{"Item atualizado com sucesso!"});
    QCOMPARE(sites().first(), "Alfa|" + url);
}

void tst_editing::makeHomeStoresApostropheOnce()
{
    Form2_Lista& f = admin();
    part<ListBox>(f, "lstSites")->setCurrentRow(0);
    part<QLineEdit>(f, "txtTitulo1")->setText("Joana's");
    part<QLineEdit>(f, "txtURL")->setText("casa's.htm");
    m_inst->statements.clear();
    clickControl(&f, "btnMakeHome");
    QCOMPARE(m_inst->statements, QStringList{"UPDATE Tabela1 SET [homeTitulo]='Joana''s', "
                                             "[homeURL]='casa''s.htm' WHERE id=1"});
    QCOMPARE(config("homeTitulo||'|'||homeURL"), QStringList{"Joana's|casa's.htm"});
    QCOMPARE(m_notices->messages, QStringList{u"Página inicial atualizada com sucesso!"_qs});
    QCOMPARE(part<QLabel>(f, "lblTituloHome")->text(), QString("Joana's"));
    QCOMPARE(part<QLabel>(main(), "lblTituloHome")->text(), QString("Joana's"));
    QCOMPARE(part<QLabel>(main(), "lblHomeURL")->text(), QString("casa's.htm"));
}

void tst_editing::makeHomeWithoutConfigRowIsError()
{
    Form2_Lista& f = admin();
    TestInstall::exec(m_inst->configDb(), "delete from Tabela1");
    part<ListBox>(f, "lstSites")->setCurrentRow(0);
    clickControl(&f, "btnMakeHome");
    QCOMPARE(m_inst->errors.size(), 1);
    QVERIFY2(m_inst->errors[0].contains(m_inst->configDb()), qPrintable(m_inst->errors[0]));
    QVERIFY(m_notices->messages.isEmpty());
    QCOMPARE(part<QLabel>(main(), "lblHomeURL")->text(), QString("index.htm"));
}

void tst_editing::positionOffScreenIsNegative()
{
    Form2_Lista& f = admin();
    f.move(-30, -15);
    clickControl(&f, "lblPosition");
    QCOMPARE(m_inst->statements,
             QStringList{"UPDATE Tabela1 SET [left]='-450', [top]='-225' WHERE id=1"});
    QCOMPARE(config("left||','||top"), QStringList{"-450,-225"});
    QCOMPARE(m_notices->messages, QStringList{u"Posição atualizada com sucesso!"_qs});
}

void tst_editing::startMinimizedFlag()
{
    Form2_Lista& f = admin();
    const QString sql = "UPDATE Tabela1 SET [minimizado]='%1' WHERE id=1";
    QStringList expected;
    for (int flag : {1, 0, 1, 0}) {
        part<QCheckBox>(f, "CheckMinimize")->setChecked(flag);
        expected << sql.arg(flag);
        QCOMPARE(part<QLabel>(main(), "lblNumChecked")->text(), QString::number(flag));
        QCOMPARE(config("minimizado"), QStringList{QString::number(flag)});
    }
    QCOMPARE(m_inst->statements, expected);
    QCOMPARE(m_inst->platform.beeps, 0);
    QVERIFY(m_notices->messages.isEmpty());

    // A save that fails leaves the box as stored (another program holds the file).
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(m_inst->configDb().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    part<QCheckBox>(f, "CheckMinimize")->setChecked(true);
    sqlite3_close(other);
    QCOMPARE(m_inst->errors.size(), 1);
    QVERIFY(!part<QCheckBox>(f, "CheckMinimize")->isChecked());
    QCOMPARE(part<QLabel>(main(), "lblNumChecked")->text(), QString("0"));
    QCOMPARE(config("minimizado"), QStringList{"0"});
}

void tst_editing::deleteSelected_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("answerBy");
    QTest::addColumn<bool>("deleteKey"); // asked with the Delete key, else the button
    QTest::newRow("SIM") << true << "click" << false;
    QTest::newRow("NÃO") << false << "click" << false;
    QTest::newRow("Delete key, Enter") << true << "key" << true;
    QTest::newRow("Escape") << false << "key" << false;
    QTest::newRow("closed from outside") << false << "outside" << false;
}

void tst_editing::deleteSelected()
{
    QFETCH(bool, confirm);
    QFETCH(QString, answerBy);
    QFETCH(bool, deleteKey);
    Form2_Lista& f = admin();
    part<ListBox>(f, "lstSites")->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    part<ListBox>(f, "lstSites")->setCurrentRow(2, QItemSelectionModel::Select);
    m_inst->statements.clear();
    m_notices->confirm = confirm;
    m_notices->answerBy = answerBy;
    int rowsDuringNotice = -1;
    m_notices->onNotice = [&] { rowsDuringNotice = part<ListBox>(f, "lstSites")->count(); };
    if (deleteKey)
        QTest::keyClick(activated(part<ListBox>(f, "lstSites")), Qt::Key_Delete);
    else
        clickControl(&f, "btnDelete");
    QVERIFY(m_notices->confirmationShown);
    QVERIFY(!Forms::ifLoaded<Form6_Del>());
    if (confirm) {
        QCOMPARE(m_inst->statements, QStringList({"DELETE from Tabela1 WHERE id=3000000000",
                                                  "DELETE from Tabela1 WHERE id=10", kListSql}));
        QCOMPARE(sites(), QStringList{"Beta|b"});
        QCOMPARE(m_notices->messages, QStringList{"Item(ns) deletado(s) com sucesso."});
        QCOMPARE(rowsDuringNotice, 1); // the refill comes before the notice
        QCOMPARE(part<ListBox>(f, "lstSites")->text(0), QString("Beta"));
        QCOMPARE(part<QLabel>(f, "lblTotal")->text(), u"1 ítens"_qs);
        QCOMPARE(f.selectedCount(), 0);
        QVERIFY(part<QLineEdit>(f, "txtTitulo1")->text().isEmpty() &&
                part<QLineEdit>(f, "txtURL")->text().isEmpty());
    } else {
        QVERIFY(m_inst->statements.isEmpty() && m_notices->messages.isEmpty());
        QCOMPARE(sites().size(), 3);
        QVERIFY(part<ListBox>(f, "lstSites")->isRowSelected(0) &&
                part<ListBox>(f, "lstSites")->isRowSelected(2));
        QCOMPARE(f.selectedCount(), 2);
        QCOMPARE(part<QLineEdit>(f, "txtTitulo1")->text(), QString("Gama"));
        QCOMPARE(part<QLabel>(f, "lblTotal")->text(), QString("3 iten(s)"));
    }
}

void tst_editing::deleteAfterAdministrationClosed()
{
    Form2_Lista& f = admin();
    QPointer<Form2_Lista> window = &f;
    part<ListBox>(f, "lstSites")->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    m_notices->confirm = true;
    // The window that asked is gone when "SIM" comes (a site opened just before, handed back).
    m_notices->beforeAnswer = [&f] { Forms::unload(&f); };
    clickControl(&f, "btnDelete");
    QVERIFY(m_notices->confirmationShown);
    QVERIFY(window.isNull() || !Forms::loaded().contains(window.data()));
    QCOMPARE(sites().size(), 3);
    QCOMPARE(m_notices->messages,
             QStringList{u"A janela de administração foi fechada; nada foi deletado."_qs});
    QVERIFY(!Forms::ifLoaded<Form2_Lista>() && !Forms::ifLoaded<Form6_Del>());
    QVERIFY(m_inst->errors.isEmpty());
}

void tst_editing::insertIntoUnwritableDatabase_data()
{
    QTest::addColumn<bool>("readOnlyFile");
    QTest::addColumn<QString>("advice");
    QTest::newRow("read-only file") << true << u"verifique as permissões da pasta"_qs;
    QTest::newRow("another program is writing")
        << false << "feche o outro programa que usa o arquivo";
}

void tst_editing::insertIntoUnwritableDatabase()
{
    QFETCH(bool, readOnlyFile);
    QFETCH(QString, advice);
    if (readOnlyFile && geteuid() == 0)
        QSKIP("file permissions do not stop root");
    Form2_Lista& f = admin();
    const QString links = m_inst->linksDb();
    sqlite3* other = nullptr;
    if (readOnlyFile) {
        QVERIFY(QFile::setPermissions(links, QFile::ReadOwner));
    } else { // the engine waits its busy timeout, then gives up
        QCOMPARE(sqlite3_open(links.toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    part<QLineEdit>(f, "txtTitulo1")->setText("Novo");
    part<QLineEdit>(f, "txtURL")->setText("novo.htm");
    clickControl(&f, "btnInsert");
    sqlite3_close(other);
    QFile::setPermissions(links, QFile::ReadOwner | QFile::WriteOwner);

    QCOMPARE(m_inst->errors.size(), 1);
    QVERIFY2(m_inst->errors[0].contains(links) && m_inst->errors[0].contains(advice) &&
                 !m_inst->errors[0].contains("insert"),
             qPrintable(m_inst->errors[0]));
    QVERIFY(m_notices->messages.isEmpty());
    QCOMPARE(sites().size(), 3);
    QCOMPARE(part<QLineEdit>(f, "txtTitulo1")->text(), QString("Novo"));
    // Once the file can be written again the same window inserts as usual.
    clickControl(&f, "btnInsert");
    QCOMPARE(m_notices->messages, QStringList{"Item inserido com sucesso!"});
    QCOMPARE(sites().last(), QString("Novo|novo.htm"));
}

void tst_editing::savedPageIsListedOnce_data()
{
    QTest::addColumn<QString>("stored"); // a site already in the list, or none
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("row");    // the row added, or none
    QTest::addColumn<QString>("second"); // the notice of a second Ctrl+D
    QTest::newRow("new page, apostrophes") << ""
                                           << "It's 'here'"
                                           << "http://x/?a='1'"
                                           << "Site adicionado: It's 'here'"
                                           << "It's 'here'|http://x/?a='1'" << again();
    QTest::newRow("title of several lines") << ""
                                            << "  Notícias\r\n\tde hoje "
                                            << "http://x/"
                                            << "Site adicionado: Notícias de hoje"
                                            << "Notícias de hoje|http://x/" << again();
    QTest::newRow("page without title") << ""
                                        << ""
                                        << "http://x/"
                                        << "Site adicionado: http://x/"
                                        << "http://x/|http://x/" << again();
    QTest::newRow("already listed") << "http://x/?a='1'"
                                    << "Outro"
                                    << "http://x/?a='1'" << again() << "" << again();
    QTest::newRow("listed with blanks around") << "  http://x/ "
                                               << "Outro"
                                               << "http://x/" << again() << "" << again();
    // The list opens it without the tab, as it opens the page: one site.
    QTest::newRow("listed with a tab before it") << "\thttp://x/"
                                                 << "Outro"
                                                 << "http://x/" << again() << "" << again();
    QTest::newRow("listed under another address") << "http://x/a"
                                                  << "Outro"
                                                  << "http://x/"
                                                  << "Site adicionado: Outro"
                                                  << "Outro|http://x/" << again();
    const QString tooLong = "O endereço desta página tem mais de 65536 caracteres, o limite da "
                            "lista; nada foi salvo.";
    QTest::newRow("address longer than the program keeps")
        << ""
        << "Longo"
        << "data:text/plain," + QString(kMaxAddressLength, u'x') << tooLong << "" << tooLong;
}

// Named after the fault it guards: Ctrl+D twice, or on a site saved by hand, must not list
// the page twice; what it adds is encoded as the administration window's insert encodes it,
// and an open administration window shows it.
void tst_editing::savedPageIsListedOnce()
{
    QFETCH(QString, stored);
    QFETCH(QString, title);
    QFETCH(QString, url);
    QFETCH(QString, notice);
    QFETCH(QString, row);
    QFETCH(QString, second);
    if (!stored.isEmpty())
        TestInstall::exec(m_inst->linksDb(),
                          "insert into Tabela1 (titulo1,url) values ('Salvo', '" +
                              EncodeSqlText(stored) + "')");
    Form2_Lista& f = admin();
    const QStringList before = sites();
    auto* browser = part<FakeBrowser>(main(), "WebBrowser2");
    browser->location = url;
    browser->pageTitle = title;
    main().savePageToList();
    QVERIFY2(m_inst->errors.isEmpty(), qPrintable(m_inst->errors.join('\n')));
    QCOMPARE(m_notices->messages, QStringList{notice});
    QCOMPARE(sites(), row.isEmpty() ? before : before + QStringList{row});
    QCOMPARE(part<ListBox>(f, "lstSites")->count(), sites().size());
    main().savePageToList(); // the second time, never a second row
    QCOMPARE(m_notices->messages.last(), second);
    QCOMPARE(sites(), row.isEmpty() ? before : before + QStringList{row});
}

void tst_editing::droppedOrPastedLinksBecomeSites_data()
{
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QStringList>("formats"); // FILE in a payload: a bookmark file's path
    QTest::addColumn<QList<QByteArray>>("payloads");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QString>("notice");

    const QString one = "Site adicionado à lista.";
    const QByteArray moz = QByteArray::fromRawData(
        reinterpret_cast<const char*>(u"https://d.example/\nDrop título"), 60);
    QTest::newRow("Firefox link") << false << QStringList{"text/x-moz-url"}
                                  << QList<QByteArray>{moz}
                                  << QStringList{"Drop título|https://d.example/"} << one;
    QTest::newRow("Chromium link")
        << false << QStringList{"text/uri-list", "text/html"}
        << QList<QByteArray>{"https://h.example/\r\n",
                             "<meta charset=utf-8><a href=\"https://h.example/\">Página &amp; "
                             "cia</a>"}
        << QStringList{"Página & cia|https://h.example/"} << one;
    QTest::newRow("address only") << false << QStringList{"text/uri-list"}
                                  << QList<QByteArray>{"https://u.example/a?b=1\r\n"}
                                  << QStringList{"https://u.example/a?b=1|https://u.example/a?b=1"}
                                  << one;
    QTest::newRow("already in the list")
        << false << QStringList{"text/uri-list"} << QList<QByteArray>{"http://g/\r\n"}
        << QStringList{} << "Esse endereço já está na lista.";
    QTest::newRow("bookmark file")
        << false << QStringList{"text/uri-list"} << QList<QByteArray>{"FILE\r\n"}
        << QStringList{"F|http://f/"}
        << "1 site importado, 0 repetidos ignorados, 0 endereços inválidos ignorados.";
    QTest::newRow("pasted address")
        << true << QStringList{"text/plain"} << QList<QByteArray>{"  www.exemplo.com.br \n"}
        << QStringList{"www.exemplo.com.br|www.exemplo.com.br"} << one;
    QTest::newRow("pasted text") << true << QStringList{"text/plain"}
                                 << QList<QByteArray>{"duas palavras"} << QStringList{}
                                 << "Não há um link nem um endereço para adicionar.";
}

void tst_editing::droppedOrPastedLinksBecomeSites()
{
    QFETCH(bool, paste);
    QFETCH(QStringList, formats);
    QFETCH(QList<QByteArray>, payloads);
    QFETCH(QStringList, added);
    QFETCH(QString, notice);
    TestInstall::exec(m_inst->linksDb(),
                      "insert into Tabela1 (titulo1,url) values ('G','http://g/')");
    const QString file = m_inst->dir() + "/fav.html";
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<!DOCTYPE NETSCAPE-Bookmark-file-1><DL><p><DT><A HREF=\"http://f/\">F</A></DL>");
    f.close();
    auto* data = new QMimeData;
    for (qsizetype i = 0; i < formats.size(); ++i)
        data->setData(
            formats[i],
            QByteArray(payloads[i]).replace("FILE", QUrl::fromLocalFile(file).toEncoded()));
    Form2_Lista& w = admin();
    const QStringList before = sites();
    QSignalSpy done(&w.bookmarkTransfer(), &BookmarkTransfer::finished);
    if (paste) {
        QGuiApplication::clipboard()->setMimeData(data);
        QTest::keyClick(part<ListBox>(w, "lstSites"), Qt::Key_V, Qt::ControlModifier);
    } else {
        QWidget* list = part<ListBox>(w, "lstSites")->viewport();
        QDragEnterEvent enter({10, 10}, Qt::CopyAction | Qt::LinkAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(list, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop({10, 10}, Qt::CopyAction | Qt::LinkAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(list, &drop);
        QVERIFY(drop.isAccepted());
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_notices->messages, QStringList{notice}, 10000);
    if (!notice.startsWith("Não há"))
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 10000);
    QCOMPARE(sites().mid(before.size()), added);
    QCOMPARE(part<ListBox>(w, "lstSites")->count(), sites().size());
    if (!paste)
        delete data;
}

void tst_editing::pageNoticesMergeAndNeverWait_data()
{
    // Steps: "tick" is one second of the notice; "K:text" posts a notice of kind K (D: download
    // done, F: download failed, R: download refused, P: print done).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("secondsLeft");
    QTest::newRow("one keeps its text") << QStringList{"D:Download concluído: a.txt"}
                                        << QStringList{"Download concluído: a.txt"} << 3;
    QTest::newRow("five downloads merge")
        << QStringList{"D:a", "D:b", "tick", "D:c", "D:d", "D:e"}
        << QStringList{"a", "2 downloads concluídos", "3 downloads concluídos",
                       "4 downloads concluídos", "5 downloads concluídos"}
        << 3;
    QTest::newRow("page notifications merge")
        << QStringList{"N:a", "N:b"} << QStringList{"a", "2 notificações de páginas"} << 3;
    QTest::newRow("refusals merge")
        << QStringList{"R:r", "R:s", "R:t"}
        << QStringList{"r", "2 downloads bloqueados", "3 downloads bloqueados"} << 3;
    // While another waits, a merge keeps the time already run: the waiting one comes after
    // three seconds at most.
    QTest::newRow("another kind waits for one")
        << QStringList{"D:a", "P:p", "tick", "D:b", "P:q"}
        << QStringList{"a", "2 downloads concluídos", "2 páginas salvas em PDF"} << 2 + 3;
    QTest::newRow("a third kind ends the one on show")
        << QStringList{"D:a", "P:p", "F:f", "P:q", "F:g"}
        << QStringList{"a", "p", "2 páginas salvas em PDF", "2 downloads não foram concluídos"}
        << 3 + 3;
}

// A page's notices never hold a modal loop, merge by kind, and none waits behind more than one.
void tst_editing::pageNoticesMergeAndNeverWait()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);
    QFETCH(int, secondsLeft);
    const QHash<QChar, PageNotice::Kind> kinds{{u'D', PageNotice::Kind::DownloadDone},
                                               {u'F', PageNotice::Kind::DownloadFailed},
                                               {u'R', PageNotice::Kind::DownloadRefused},
                                               {u'P', PageNotice::Kind::PrintDone},
                                               {u'N', PageNotice::Kind::PageNotification}};
    QStringList texts;
    const auto note = [&texts] {
        const PageNotice* n = Forms::ifLoaded<PageNotice>();
        const QString text = n ? part<QLabel>(n, "lblMensagem")->text() : QString();
        if (n && (texts.isEmpty() || texts.last() != text))
            texts << text;
    };
    const auto tick = [] {
        Q_EMIT part<FormTimer>(Forms::ifLoaded<PageNotice>(), "TimerCount")->Timer();
    };
    for (const QString& step : steps) {
        if (step == u"tick")
            tick();
        else
            PageNotice::post(kinds.value(step.at(0)), step.mid(2));
        note();
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(Forms::ifLoaded<PageNotice>()->isVisible());
    }
    int seconds = 0;
    for (; Forms::ifLoaded<PageNotice>() && seconds < 20; ++seconds) {
        tick();
        note();
    }
    QCOMPARE(texts, shown);
    QCOMPARE(seconds, secondsLeft);
    QVERIFY(Forms::ifLoaded<Form5_Msg>() == nullptr);
}

QV_TEST_MAIN(tst_editing)

#include "tst_editing.moc"
