#include "TestInstall.h"

#include "core/Paths.h"
#include "core/QvError.h"
#include "core/UrlTools.h"
#include "storage/SessionStore.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

PageState page(const QString& address, const QString& title, const QByteArray& history = {})
{
    return {address, title, history};
}

// Session n: from one to seven pages open, up to three closed, every text and length drawn
// from n, so that a set mixed from two writes matches neither.
Session sessionFor(int n)
{
    Session s;
    for (int i = 0; i <= n % 7; ++i)
        s.open.push_back(page(QStringLiteral("https://s%1.example/%2").arg(n).arg(i),
                              QStringLiteral("Sessão %1, página %2").arg(n).arg(i),
                              QByteArray(n % 5000 + i, char('a' + n % 26))));
    s.shown = n % int(s.open.size());
    for (int i = 0; i < n % 4; ++i)
        s.closed.push_back(page(QStringLiteral("https://s%1.example/fechada%2").arg(n).arg(i),
                                QStringLiteral("Fechada %1").arg(i)));
    return s;
}

// The n of a session made by sessionFor, or -1.
int numberOf(const Session& s)
{
    if (s.open.empty())
        return -1;
    const QString host = s.open[0].address.section(u'/', 2, 2);
    return host.mid(1, host.indexOf(u'.') - 1).toInt();
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool sound(const QString& db)
{
    return TestInstall::query(db, QStringLiteral("PRAGMA integrity_check")) ==
           QStringList{QStringLiteral("ok")};
}

// The child of killedWhileWriting: writes sessions counted on from what the file holds until
// it is killed.
[[noreturn]] void writeForEver(const QString& db)
{
    const auto store = SessionStore::open(db);
    int n = std::max(numberOf(store->leftBehind()), 0);
    for (int i = 0; i < 100000; ++i) {
        store->write(sessionFor(++n));
        if (i % 3 == 0)
            store->flush();
    }
    _exit(3);
}

} // namespace

class tst_sessionstore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void survivesReopen();
    void normalEndKeepsOnlyTheClosed();
    void oversizedPagesAreLeftOut();
    void killedWhileWriting();
    void unreadableFileIsKeptAside_data();
    void unreadableFileIsKeptAside();
    void readOnlyIsRefused_data();
    void readOnlyIsRefused();
    void writeFailureIsToldOnce();
};

void tst_sessionstore::survivesReopen()
{
    TestInstall install;
    const QString db = QV_Variaveis::SessionDbPath;
    Session written;
    written.open = {page(QStringLiteral("https://a/it's"), QStringLiteral("Ação \"1\""),
                         QByteArray("\0\1\2x", 4)),
                    page(QStringLiteral("file:///opt/qv/Web/index.htm"), QString())};
    written.shown = 1;
    written.closed = {page(QStringLiteral("https://c/"), QStringLiteral("😀"))};
    {
        const auto store = SessionStore::open(db);
        QVERIFY(store->leftBehind().isEmpty());
        store->write(sessionFor(5));
        store->write(written);
    } // the destructor stores what is queued
    const auto again = SessionStore::open(db);
    QCOMPARE(again->leftBehind(), written);
    QCOMPARE(TestInstall::query(db, QStringLiteral("PRAGMA user_version")),
             QStringList{QString::number(SessionStore::kVersion)});
    QCOMPARE(TestInstall::query(db, QStringLiteral("PRAGMA journal_mode")),
             QStringList{QStringLiteral("wal")});
}

void tst_sessionstore::normalEndKeepsOnlyTheClosed()
{
    TestInstall install;
    const QString db = QV_Variaveis::SessionDbPath;
    std::vector<PageState> closed;
    for (int i = 0; i < Session::kMaxClosed + 3; ++i)
        closed.push_back(page(QStringLiteral("https://f/%1").arg(i), QStringLiteral("F")));
    {
        const auto store = SessionStore::open(db);
        store->write(sessionFor(12));
        store->endNormally(closed);
        // Stored when endNormally returns, not when the store goes.
        const Session stored = SessionStore::readFile(db);
        QVERIFY(stored.isEmpty());
        QCOMPARE(stored.closed,
                 std::vector<PageState>(closed.end() - Session::kMaxClosed, closed.end()));
    }
    QVERIFY(SessionStore::open(db)->leftBehind().isEmpty());
}

// A file written by hand (or damaged) that claims a huge page gives back the rest of the set.
void tst_sessionstore::oversizedPagesAreLeftOut()
{
    TestInstall install;
    const QString db = QV_Variaveis::SessionDbPath;
    SessionStore::open(db)->write(sessionFor(2)); // three pages open, the third shown
    TestInstall::exec(db,
                      QStringLiteral("UPDATE Paginas SET endereco = 'https://x/' || "
                                     "replace(hex(zeroblob(%1)), '00', 'a') WHERE ordem = 0; "
                                     "UPDATE Paginas SET historico = zeroblob(%2) WHERE ordem = 1")
                          .arg(kMaxAddressLength)
                          .arg(SessionStore::kMaxHistoryBytes + 1));
    Session expected = sessionFor(2);
    expected.open.erase(expected.open.begin());
    expected.open[0].history.clear();
    expected.shown = 1; // the same page as before
    QCOMPARE(SessionStore::readFile(db), expected);
}

void tst_sessionstore::killedWhileWriting()
{
    TestInstall install;
    const QString db = QV_Variaveis::SessionDbPath;
    int last = -1;
    for (int round = 0; round < 6; ++round) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0)
            writeForEver(db);
        QTest::qSleep(30 + QRandomGenerator::global()->bounded(250));
        ::kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QVERIFY(sound(db));
        const Session stored = SessionStore::readFile(db);
        const int n = numberOf(stored);
        if (n < 0 && last < 0)
            continue; // killed before its first write
        QVERIFY2(n >= last && stored == sessionFor(n), qPrintable(QString::number(n)));
        last = n;
    }
    QVERIFY2(last > 0, "no child stored a session");
}

void tst_sessionstore::unreadableFileIsKeptAside_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("earlierAside");
    const auto row = [](const char* name, const char* kind, const char* reason, bool earlier) {
        QTest::newRow(name) << QString::fromUtf8(kind) << QString::fromUtf8(reason) << earlier;
    };
    row("folder", "folder", "pasta", false);
    row("garbage", "garbage", "danificado", false);
    row("garbage, set aside before", "garbage", "danificado", true);
    row("damaged inside", "damaged", "danificado", false);
    row("newer version", "newer", "versão mais nova", false);
    row("other shape", "shape", "tabelas", false);
}

void tst_sessionstore::unreadableFileIsKeptAside()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QFETCH(bool, earlierAside);
    TestInstall install;
    const QString db = QV_Variaveis::SessionDbPath;
    QString aside = db + QStringLiteral(".ilegivel");
    if (earlierAside) {
        QFile earlier(aside);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("antes");
        aside += QStringLiteral("-2");
    }
    if (kind == u"folder") {
        QVERIFY(QDir().mkpath(db));
    } else if (kind == u"garbage") {
        QFile f(db);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    } else if (kind == u"damaged") { // a sound header, pages of garbage after it
        SessionStore::open(db)->write(sessionFor(4999));
        QFile f(db);
        QVERIFY(f.size() > 3 * 4096);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(4096));
        f.write(QByteArray(2 * 4096, 'x'));
    } else if (kind == u"newer") {
        SessionStore::open(db)->write(sessionFor(3));
        TestInstall::exec(
            db, QStringLiteral("PRAGMA user_version = %1").arg(SessionStore::kVersion + 1));
    } else {
        TestInstall::exec(db, QStringLiteral("CREATE TABLE Paginas (x); PRAGMA user_version = 1"));
    }
    const QByteArray before = contents(db);
    QVERIFY(!errorOf([&] { SessionStore::readFile(db); }).isEmpty());
    QString notice;
    const auto store = SessionStore::open(db, &notice);
    QVERIFY2(notice.contains(db) && notice.contains(aside) && notice.contains(reason),
             qPrintable(notice));
    QVERIFY(store->leftBehind().isEmpty());
    QCOMPARE(QFileInfo(aside).isDir(), kind == u"folder");
    QCOMPARE(contents(aside), before);
    if (earlierAside)
        QCOMPARE(contents(db + QStringLiteral(".ilegivel")), QByteArray("antes"));
    store->write(sessionFor(9));
    store->flush();
    QCOMPARE(SessionStore::readFile(db), sessionFor(9));
    QVERIFY(!store->hasFailed());
}

void tst_sessionstore::readOnlyIsRefused_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("file") << false;
    QTest::newRow("folder") << true;
}

void tst_sessionstore::readOnlyIsRefused()
{
    QFETCH(bool, folder);
    if (geteuid() == 0)
        QSKIP("file permissions do not stop root");
    TestInstall install;
    const QString db = QV_Variaveis::SessionDbPath;
    SessionStore::open(db)->write(sessionFor(4));
    const QString target = folder ? QFileInfo(db).absolutePath() : db;
    const auto permissions = QFile::permissions(target);
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner));
    const QString message = errorOf([&] { SessionStore::open(db); });
    QFile::setPermissions(target, permissions);
    QVERIFY2(message.contains(db), qPrintable(message));
    QCOMPARE(SessionStore::readFile(db), sessionFor(4));
    const auto store = SessionStore::disabled(db, message);
    store->write(sessionFor(5));
    store->endNormally({});
    QVERIFY(store->hasFailed());
    QCOMPARE(SessionStore::readFile(db), sessionFor(4));
}

void tst_sessionstore::writeFailureIsToldOnce()
{
    TestInstall install;
    const QString db = QV_Variaveis::SessionDbPath;
    const auto store = SessionStore::open(db);
    store->write(sessionFor(6));
    store->flush();
    TestInstall::exec(db, QStringLiteral("DROP TABLE Sessao"));
    QSignalSpy failed(store.get(), &SessionStore::writeFailed);
    for (int n = 7; n < 10; ++n) {
        store->write(sessionFor(n));
        store->flush();
    }
    QTRY_COMPARE(failed.size(), 1);
    QVERIFY2(failed[0][0].toString().contains(db), qPrintable(failed[0][0].toString()));
    QVERIFY(store->hasFailed());
    QCOMPARE(TestInstall::query(db, QStringLiteral("SELECT endereco FROM Paginas LIMIT 1")),
             QStringList{sessionFor(6).open[0].address});
    QCoreApplication::processEvents();
    QCOMPARE(failed.size(), 1);
}

QTEST_MAIN(tst_sessionstore)
#include "tst_sessionstore.moc"
