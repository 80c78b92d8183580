#include "FakeBrowser.h"
#include "TestInstall.h"

#include "core/Paths.h"
#include "core/QvError.h"
#include "navigation/HistoryRecorder.h"
#include "storage/Backups.h"
#include "storage/HistoryStore.h"
#include "storage/Suggestions.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <functional>

#include <unistd.h>

namespace {

QString rows(const QString& db)
{
    return TestInstall::query(db, QStringLiteral("SELECT url || ' ' || coalesce(titulo,'') || ' ' "
                                                 "|| visitas || ' ' || ultima FROM Historico "
                                                 "ORDER BY id"))
        .join(u'|');
}

std::vector<Suggestion> saved(std::initializer_list<std::pair<const char*, const char*>> sites)
{
    std::vector<Suggestion> out;
    for (const auto& [title, url] : sites)
        out.push_back({QString::fromUtf8(title), QString::fromUtf8(url), true});
    return out;
}

QStringList urlsFound(SuggestionQuery& q, const QString& text)
{
    QStringList out;
    for (size_t i : q.find(text))
        out << q.index().at(i).url;
    return out;
}

// A history of `n` pages, page i visited i times, all of them matching "pagina".
std::shared_ptr<const SuggestionIndex> manyPages(int n)
{
    std::vector<HistoryRow> history;
    for (int i = n; i >= 1; --i)
        history.push_back(
            {QStringLiteral("https://h/%1").arg(i), QStringLiteral("Página %1").arg(i), i, 1000});
    return std::make_shared<const SuggestionIndex>(std::vector<Suggestion>{}, history);
}

// A history holding one visit, and the daily copy that holds it too.
std::unique_ptr<HistoryStore> storeWithADailyCopy(const QString& db)
{
    auto store = HistoryStore::create(db);
    store->recordVisit(QStringLiteral("https://secret/"), QStringLiteral("Segredo"), 5);
    store->flush();
    Backups::backUp(db, QDate(2026, 1, 2));
    return store;
}
} // namespace

class tst_history : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void visitsSurviveReopen();
    void unusableFileFailsOnceAndIsLeftAlone_data();
    void unusableFileFailsOnceAndIsLeftAlone();
    void clearDeletesRowsAndCopies();
    void clearNamesTheCopiesLeft();
    void writeFailureIsToldOnce();
    void onlyWebPagesAreRecorded();
    void titleFloodIsWrittenOncePerInterval();
    void suggestionsRanking_data();
    void suggestionsRanking();
    void grownTextFindsWhatAFreshQueryFinds();
    void suggestionsReadBothFiles();
};

void tst_history::visitsSurviveReopen()
{
    TestInstall install;
    const QString db = QV_Variaveis::HistoryDbPath;
    QVERIFY(!QFile::exists(db));
    {
        const auto store = HistoryStore::create(db);
        store->recordVisit(QStringLiteral("https://a/"), QStringLiteral("A"), 100);
        store->recordVisit(QStringLiteral("https://b/it's"), QString(), 110);
        store->recordVisit(QStringLiteral("https://a/"), QString(), 120); // keeps title "A"
        store->setTitle(QStringLiteral("https://b/it's"), QStringLiteral("B'"));
    } // the destructor stores what is queued
    QCOMPARE(rows(db), QStringLiteral("https://a/ A 2 120|https://b/it's B' 1 110"));
    const auto again = HistoryStore::create(db);
    again->recordVisit(QStringLiteral("https://b/it's"), QStringLiteral("B2"), 130);
    again->flush();
    QCOMPARE(rows(db), QStringLiteral("https://a/ A 2 120|https://b/it's B2 2 130"));
    QCOMPARE(TestInstall::query(db, QStringLiteral("PRAGMA journal_mode")),
             QStringList{QStringLiteral("wal")});
    QVERIFY(!again->hasFailed());
}

void tst_history::unusableFileFailsOnceAndIsLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << "folder";
    QTest::newRow("not a database") << "garbage";
    QTest::newRow("read-only") << "readonly";
    QTest::newRow("wrong table") << "schema";
}

void tst_history::unusableFileFailsOnceAndIsLeftAlone()
{
    QFETCH(QString, kind);
    if (kind == u"readonly" && geteuid() == 0)
        QSKIP("root writes read-only files");
    TestInstall install;
    const QString db = QV_Variaveis::HistoryDbPath;
    if (kind == u"folder") {
        QDir().mkpath(db);
    } else if (kind == u"garbage") {
        QFile f(db);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    } else if (kind == u"schema") {
        TestInstall::exec(db, QStringLiteral("CREATE TABLE Historico (x)"));
    } else {
        TestInstall::exec(db,
                          QStringLiteral("CREATE TABLE Historico (id INTEGER PRIMARY KEY, url "
                                         "TEXT UNIQUE, titulo, visitas, ultima);"
                                         "INSERT INTO Historico VALUES (1,'https://k/','K',3,9)"));
        QFile::setPermissions(db, QFile::ReadOwner | QFile::ReadUser);
    }
    const QByteArray before = QFileInfo(db).isFile() ? [&] {
        QFile f(db);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }()
                                                     : QByteArray();
    // Told once, by the factory; browsing goes on with a store that keeps nothing.
    const QString message = errorOf([&] { HistoryStore::create(db); });
    QVERIFY2(message.contains(db), qPrintable(message));
    const auto store = HistoryStore::createDisabled(db, message);
    QSignalSpy failed(store.get(), &HistoryStore::writeFailed);
    for (int i = 0; i < 50; ++i)
        store->recordVisit(QStringLiteral("https://x/%1").arg(i), QStringLiteral("x"), 1);
    store->flush();
    QVERIFY(store->hasFailed());
    QCOMPARE(errorOf([&] { store->clear(); }), message);
    QCoreApplication::processEvents();
    QCOMPARE(failed.size(), 0);
    if (!before.isEmpty()) {
        QFile f(db);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }
}

void tst_history::clearDeletesRowsAndCopies()
{
    TestInstall install;
    const QString db = QV_Variaveis::HistoryDbPath;
    const auto store = storeWithADailyCopy(db);
    QCOMPARE(Backups::backupsOf(db).size(), 1);
    store->recordVisit(QStringLiteral("https://secret/2"), QStringLiteral("Segredo"), 6);
    store->clear();
    QCOMPARE(rows(db), QString());
    QVERIFY(Backups::backupsOf(db).isEmpty());
    QFile f(db);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(!f.readAll().contains("secret"));
    store->recordVisit(QStringLiteral("https://after/"), QStringLiteral("Depois"), 7);
    store->flush();
    QCOMPARE(rows(db), QStringLiteral("https://after/ Depois 1 7"));
}

// Named after the fault it guards: clearing said nothing of daily copies it could not remove,
// which still hold the visits.
void tst_history::clearNamesTheCopiesLeft()
{
    if (geteuid() == 0)
        QSKIP("file permissions do not stop root");
    TestInstall install;
    const QString db = QV_Variaveis::HistoryDbPath;
    const auto store = storeWithADailyCopy(db);
    const QString folder = QFileInfo(db).absolutePath() + QStringLiteral("/backup");
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner;
    QVERIFY(QFile::setPermissions(folder, readOnly));
    const QString message = errorOf([&] { store->clear(); });
    QFile::setPermissions(folder, readOnly | QFile::WriteOwner);
    QVERIFY2(message.contains(Backups::backupsOf(db).value(0)), qPrintable(message));
    QCOMPARE(rows(db), QString());
}

// A write that fails after the file was opened is told once, on the store's own thread (where
// the windows are), and nothing more is written.
void tst_history::writeFailureIsToldOnce()
{
    TestInstall install;
    const QString db = QV_Variaveis::HistoryDbPath;
    const auto store = HistoryStore::create(db);
    TestInstall::exec(db, QStringLiteral("DROP TABLE Historico"));
    QStringList told;
    QThread* toldOn = nullptr;
    QObject::connect(
        store.get(), &HistoryStore::writeFailed, store.get(),
        [&](const QString& message) {
            told << message;
            toldOn = QThread::currentThread();
        },
        Qt::DirectConnection);
    for (int i = 0; i < 3; ++i) {
        store->recordVisit(QStringLiteral("https://x/%1").arg(i), QStringLiteral("x"), 1);
        store->flush();
    }
    QTRY_COMPARE(told.size(), 1);
    QVERIFY2(told[0].contains(db), qPrintable(told[0]));
    QCOMPARE(toldOn, QThread::currentThread());
    QVERIFY(store->hasFailed());
    QCOMPARE(errorOf([&] { store->clear(); }), told[0]);
    QCoreApplication::processEvents();
    QCOMPARE(told.size(), 1);
}

void tst_history::onlyWebPagesAreRecorded()
{
    QVERIFY(HistoryStore::isRecordable(QStringLiteral("HTTPS://a/")));
    QVERIFY(HistoryStore::isRecordable(QStringLiteral("http://127.0.0.1:8/x")));
    for (const char* url : {"file:///opt/qv/Web/index.htm", "about:blank", "data:text/html,x",
                            "javascript:alert(1)", "", "ftp://h/"})
        QVERIFY2(!HistoryStore::isRecordable(QString::fromLatin1(url)), url);
    QVERIFY(!HistoryStore::isRecordable(QStringLiteral("https://h/") +
                                        QString(HistoryStore::kMaxUrlLength, u'a')));
}

// Named after the fault it guards: a page changing its title thousands of times a second had
// every change written to the disk.
void tst_history::titleFloodIsWrittenOncePerInterval()
{
    TestInstall install;
    const QString db = QV_Variaveis::HistoryDbPath;
    FakeBrowser browser;
    auto recorder = std::make_unique<HistoryRecorder>(&browser, HistoryStore::create(db), nullptr);
    HistoryStore& store = recorder->store();
    // Every title the writer stores, in order.
    TestInstall::exec(db, QStringLiteral("CREATE TABLE Escritos (titulo TEXT); CREATE TRIGGER e "
                                         "AFTER UPDATE OF titulo ON Historico BEGIN INSERT INTO "
                                         "Escritos VALUES (new.titulo); END"));
    const auto written = [&] {
        store.flush();
        return TestInstall::query(db, QStringLiteral("SELECT titulo FROM Escritos")).join(u'|');
    };
    browser.finishLoad(QStringLiteral("https://a/"));
    store.recordVisit(QStringLiteral("https://b/"), QStringLiteral("B\u2028\u202Efdp.exe"), 1);
    for (int i = 0; i < 2000; ++i)
        Q_EMIT browser.TitleChange(QStringLiteral("A %1").arg(i));
    QCOMPARE(written(), QStringLiteral("A 0"));
    QTRY_COMPARE(written(), QStringLiteral("A 0|A 1999"));
    // Held back in the next interval, then stored before the next page's visit (which keeps
    // the title that page had).
    Q_EMIT browser.TitleChange(QStringLiteral("A final\u0085\u2029\u202Bfim"));
    browser.finishLoad(QStringLiteral("https://b/"));
    QCOMPARE(written(), QStringLiteral("A 0|A 1999|A final  fim|B fdp.exe"));
    // The final title of the last page, when the recorder goes.
    Q_EMIT browser.TitleChange(QStringLiteral("B final\r\nfim"));
    recorder.reset();
    QCOMPARE(TestInstall::query(db, QStringLiteral("SELECT url || ' ' || titulo FROM Historico "
                                                   "ORDER BY id")),
             (QStringList{"https://a/ A final  fim", "https://b/ B final  fim"}));
}

void tst_history::suggestionsRanking_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("saved first, then visits, then recency")
        << "noticias"
        << QStringList{"https://s2/noticias", "https://many/", "https://recent/", "https://old/"};
    QTest::newRow("accents and case as the list folds them")
        << "NOTÍCIAS"
        << QStringList{"https://s2/noticias", "https://many/", "https://recent/", "https://old/"};
    QTest::newRow("every word, in title or address") << "not many" << QStringList{"https://many/"};
    QTest::newRow("words in any order") << "old  NOT" << QStringList{"https://old/"};
    QTest::newRow("a word nowhere") << "noticias zebra" << QStringList{};
    QTest::newRow("saved address once, as saved") << "dup" << QStringList{"https://dup/"};
    QTest::newRow("blank text") << "  \t " << QStringList{};
    QTest::newRow("untitled page by its address") << "bare" << QStringList{"https://bare/"};
    QTest::newRow("a title as its row shows it") << "fatura fdp.exe" << QStringList{"https://rlo/"};
}

void tst_history::suggestionsRanking()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    const std::vector<HistoryRow> history = {
        {"https://many/", "Notícias muito lidas", 9, 10},
        {"https://recent/", "Noticias", 2, 50},
        {"https://old/", "noticias", 2, 20},
        {"https://dup/", "Visited", 99, 99},
        {"https://bare/", "", 1, 1},
        {"https://rlo/", "Fatura\u2028f\u202Edp.exe", 1, 1},
    };
    auto index = std::make_shared<const SuggestionIndex>(
        saved({{"Dup saved", "https://dup/"}, {"Jornal", "https://s2/noticias"}}), history);
    SuggestionQuery q(index);
    QCOMPARE(urlsFound(q, typed), expected);
    for (size_t i = 0; i < index->size(); ++i)
        QCOMPARE(index->at(i).saved, i < 2);
}

void tst_history::grownTextFindsWhatAFreshQueryFinds()
{
    const auto index = manyPages(500);
    SuggestionQuery typing(index);
    const QString text = QStringLiteral("pagina 4 9");
    for (qsizetype n = 1; n <= text.size(); ++n) {
        SuggestionQuery fresh(index);
        QCOMPARE(urlsFound(typing, text.left(n)), urlsFound(fresh, text.left(n)));
    }
    QCOMPARE(urlsFound(typing, text).size(), qsizetype(SuggestionQuery::kMax));
    // Back to a shorter text: a new scan.
    QCOMPARE(urlsFound(typing, QStringLiteral("pagina 49")),
             (QStringList{"https://h/499", "https://h/498", "https://h/497", "https://h/496",
                          "https://h/495", "https://h/494", "https://h/493", "https://h/492"}));
}

void tst_history::suggestionsReadBothFiles()
{
    TestInstall install;
    TestInstall::exec(install.linksDb(),
                      QStringLiteral("INSERT INTO Tabela1 (titulo1,url) VALUES ('It''s mine', "
                                     "'https://mine/')"));
    HistoryStore::create(QV_Variaveis::HistoryDbPath)
        ->recordVisit(QStringLiteral("https://seen/"), QStringLiteral("Mine too"), 1);
    auto index = SuggestionIndex::load(QV_Variaveis::LinksDbPath, QV_Variaveis::HistoryDbPath);
    SuggestionQuery q(index);
    QCOMPARE(urlsFound(q, QStringLiteral("mine")), (QStringList{"https://mine/", "https://seen/"}));
    QCOMPARE(index->at(q.find(QStringLiteral("it's"))[0]).title, QStringLiteral("It's mine"));
    // A history that cannot be read leaves the saved sites.
    QFile::remove(QV_Variaveis::HistoryDbPath + QStringLiteral("-wal"));
    QFile::remove(QV_Variaveis::HistoryDbPath + QStringLiteral("-shm"));
    QFile::remove(QV_Variaveis::HistoryDbPath);
    QDir().mkpath(QV_Variaveis::HistoryDbPath);
    QCOMPARE(SuggestionIndex::load(QV_Variaveis::LinksDbPath, QV_Variaveis::HistoryDbPath)->size(),
             size_t(1));
}

QTEST_MAIN(tst_history)
#include "tst_history.moc"
