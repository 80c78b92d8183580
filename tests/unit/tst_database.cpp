#include "TestInstall.h"

#include "core/QvError.h"
#include "storage/Backups.h"
#include "storage/Database.h"
#include "storage/PermissionStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>
#include <unistd.h>

namespace {
// Handles this process holds on a file.
void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList backupNames(const TestInstall& inst)
{
    return QDir(inst.dir() + QStringLiteral("/BD/backup")).entryList(QDir::Files, QDir::Name);
}

int openHandles(const QString& path)
{
    int n = 0;
    for (const QFileInfo& fd :
         QDir(QStringLiteral("/proc/self/fd"))
             .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        n += fd.symLinkTarget() == path;
    return n;
}
} // namespace

class tst_database : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openMissingOrForeignFile()
    {
        TestInstall inst;
        const QString missing = inst.dir() + QStringLiteral("/BD/Nada.mdb");
        QString message = errorOf([&] { Database::OpenDatabase(missing); });
        QVERIFY2(message.contains(missing), qPrintable(message));
        QVERIFY(!QFile::exists(missing));

        const QByteArray content = QByteArray("Isto não é um banco de dados.\n").repeated(40);
        QFile f(inst.configDb());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content));
        f.close();
        message = errorOf([&] { Database::OpenDatabase(inst.configDb()); });
        QVERIFY2(message.contains(inst.configDb()), qPrintable(message));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
        QCOMPARE(QDir(inst.dir() + QStringLiteral("/BD")).entryList(QDir::Files),
                 (QStringList{"QV_Config.mdb", "QV_Links.mdb"}));
    }

    void titleOrderIgnoresCaseAndAccents()
    {
        TestInstall inst;
        auto db = Database::OpenDatabase(inst.linksDb());
        for (const char* t : {"zebra", "Álvaro", "alvaro", "Beta", "éclair", "Eco"})
            db->Execute(QStringLiteral("insert into Tabela1 (titulo1, url) values ('%1', 'x')")
                            .arg(QString::fromUtf8(t)));
        QStringList order;
        Recordset& rs = db->OpenRecordset(
            QStringLiteral("select id, titulo1, url from Tabela1 order by titulo1 asc"));
        for (; !rs.Eof(); rs.MoveNext())
            order.append(rs.text(QStringLiteral("titulo1")));
        db->Close();

        // The two spellings of one name compare equal; their mutual order is free.
        QCOMPARE(QSet<QString>(order.begin(), order.begin() + 2),
                 (QSet<QString>{"Álvaro", "alvaro"}));
        QCOMPARE(order.mid(2), (QStringList{"Beta", "éclair", "Eco", "zebra"}));
        // Other tools still read the file, with SQLite's own NOCASE.
        QCOMPARE(TestInstall::query(inst.linksDb(), QStringLiteral("PRAGMA integrity_check")),
                 QStringList{"ok"});
    }

    void statementsAsCallersBuildThem()
    {
        TestInstall inst;
        const QStringList sql = {
            QStringLiteral("UPDATE Tabela1 SET [left]='-120', [top]='30' WHERE id=1"),
            QStringLiteral(
                "UPDATE Tabela1 SET [homeTitulo]='D''Ávila', [homeURL]='a''b' WHERE id=1"),
            QStringLiteral("insert into Tabela1 (id, left, top, homeURL, homeTitulo, minimizado) "
                           "values (2, '0', '0', '', '', '1')"),
            QStringLiteral("DELETE from Tabela1 WHERE id=99"),
        };
        auto db = Database::OpenDatabase(inst.configDb());
        QList<int> changed;
        for (const QString& s : sql)
            changed.append(db->Execute(s));
        QCOMPARE(changed, (QList<int>{1, 1, 1, 0}));
        db->Close();
        QCOMPARE(inst.statements, sql);

        // Written values survive the close; quoted digits became numbers.
        db = Database::OpenDatabase(inst.configDb());
        Recordset& rs = db->OpenRecordset(QStringLiteral("select * from Tabela1 where id=1"));
        QCOMPARE(rs.Fields(QStringLiteral("left")), QVariant(qlonglong(-120)));
        QCOMPARE(rs.single(QStringLiteral("top")), 30.0f);
        QCOMPARE(rs.text(QStringLiteral("homeTitulo")) + rs.text(QStringLiteral("homeURL")),
                 QStringLiteral("D'Ávilaa'b"));
        rs.MoveNext();
        QVERIFY(rs.Eof());
    }

    void rejectedStatementChangesNothing_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("said");
        QTest::newRow("trailing statement")
            << "insert into Tabela1 (titulo1) values (''); DROP TABLE Tabela1; --')"
            << "texto a mais";
        QTest::newRow("NUL in a text")
            << QStringLiteral("insert into Tabela1 (titulo1,url) values ('a%1b', 'u')")
                   .arg(QChar(0))
            << "caractere nulo (NUL)";
    }

    void rejectedStatementChangesNothing()
    {
        QFETCH(QString, sql);
        QFETCH(QString, said);
        TestInstall inst;
        auto db = Database::OpenDatabase(inst.linksDb());
        const QString message = errorOf([&] { db->Execute(sql); });
        QVERIFY2(message.contains(inst.linksDb()) && message.contains(said), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("insert")), qPrintable(message));
        db->Close();
        // Neither the first statement nor the second ran.
        QCOMPARE(TestInstall::query(inst.linksDb(), QStringLiteral("select count(*) from Tabela1")),
                 QStringList{"0"});
    }

    void failedReadLeavesNoOpenFile()
    {
        TestInstall inst;
        auto db = Database::OpenDatabase(inst.configDb());
        QVERIFY(openHandles(inst.configDb()) > 0);
        // Prepares fine, fails on reading the first row.
        const QString message = errorOf(
            [&] { db->OpenRecordset(QStringLiteral("select abs(-9223372036854775808) as v")); });
        QVERIFY2(message.contains(inst.configDb()), qPrintable(message));
        db->Close();
        QCOMPARE(openHandles(inst.configDb()), 0);
    }

    // Another program holding the file: the open waits its turn, then says so; nothing changes.
    void lockedFileIsReportedAsLocked()
    {
        TestInstall inst;
        const QStringList before =
            TestInstall::query(inst.configDb(), QStringLiteral("select * from Tabela1"));
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(inst.configDb().toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        const QString message = errorOf([&] { Database::OpenDatabase(inst.configDb()); });
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QVERIFY2(message.contains(inst.configDb()) &&
                     message.contains(QStringLiteral("feche o outro programa que usa o arquivo")),
                 qPrintable(message));
        QCOMPARE(TestInstall::query(inst.configDb(), QStringLiteral("select * from Tabela1")),
                 before);
    }

    void createLeavesNoHalfMadeFile()
    {
        TestInstall inst;
        const QString path = inst.dir() + QStringLiteral("/BD/Novo.mdb");
        const QString message = errorOf([&] {
            Database::createDatabase(path,
                                     QStringLiteral("CREATE TABLE T (a); CREATE TABLE T (b);"));
        });
        QVERIFY2(message.contains(path), qPrintable(message));
        QVERIFY(!QFile::exists(path));
    }

    // A statement that changes no rows reports none, whatever ran before it.
    void changeCountBelongsToTheStatement()
    {
        TestInstall inst;
        auto db = Database::OpenDatabase(inst.linksDb());
        QCOMPARE(db->Execute(QStringLiteral("insert into Tabela1 (titulo1) values ('a')")), 1);
        QCOMPARE(db->Execute(QStringLiteral("CREATE TABLE Outra (x)")), 0);
        QCOMPARE(db->Execute(QStringLiteral("update Tabela1 set titulo1='b' where id=-1")), 0);
    }

    // Damaged: the newest backup that passes the integrity check takes its place and the damaged
    // file is kept under another name; without a good backup the file stays exactly as it is.
    void damagedDatabaseIsRestored_data()
    {
        QTest::addColumn<QStringList>("backups"); // newest first: "good" or "damaged"
        QTest::addColumn<QString>("restoredFrom");
        QTest::newRow("newest good") << QStringList{"good", "good"} << "07/12/2026";
        QTest::newRow("damaged newest skipped") << QStringList{"damaged", "good"} << "06/12/2026";
        QTest::newRow("no good backup") << QStringList{"damaged"} << "";
        QTest::newRow("backups folder is a file") << QStringList{"<file>"} << "";
    }

    void damagedDatabaseIsRestored()
    {
        QFETCH(QStringList, backups);
        QFETCH(QString, restoredFrom);
        TestInstall inst;
        const QString links = inst.linksDb();
        const QString folder = inst.dir() + QStringLiteral("/BD/backup");
        for (qsizetype i = backups.size() - 1; i >= 0; --i) { // oldest first
            const QDate day = QDate(2026, 12, 7).addDays(-i);
            TestInstall::exec(links, QStringLiteral("delete from Tabela1; insert into Tabela1 "
                                                    "(titulo1, url) values ('%1', 'x')")
                                         .arg(day.toString(Qt::ISODate)));
            if (backups[i] == QLatin1String("<file>")) {
                writeBytes(folder, "not a folder");
                continue;
            }
            Backups::backUp(links, day);
            if (backups[i] == QLatin1String("damaged"))
                writeBytes(Backups::backupsOf(links).first(), QByteArray(4096, 'x'));
        }
        QByteArray damaged = readBytes(links);
        damaged.replace(100, 3000, QByteArray(3000, '\xff'));
        writeBytes(links, damaged);

        const QString notice = Backups::restoreIfDamaged(links);
        if (restoredFrom.isEmpty()) {
            QVERIFY2(notice.isEmpty(), qPrintable(notice));
            QCOMPARE(readBytes(links), damaged);
            return;
        }
        const QStringList kept = QDir(inst.dir() + QStringLiteral("/BD"))
                                     .entryList({QStringLiteral("QV_Links.mdb.danificado-*")});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(readBytes(inst.dir() + QStringLiteral("/BD/") + kept[0]), damaged);
        QCOMPARE(notice, QStringLiteral("A lista de sites estava danificada e foi restaurada da "
                                        "cópia de %1. O arquivo danificado foi guardado como %2.")
                             .arg(restoredFrom, kept[0]));
        const QDate from = QDate::fromString(restoredFrom, QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(TestInstall::query(links, QStringLiteral("select titulo1 from Tabela1")),
                 QStringList{from.toString(Qt::ISODate)});
    }

    // A journal that cannot follow the damaged file aside would be played back into the
    // restored copy: nothing is restored, everything stays where it was, and the error says so.
    void damagedFileWhoseJournalCannotMoveStaysAsItWas()
    {
        TestInstall inst;
        const QString links = inst.linksDb();
        Backups::backUp(links, QDate(2026, 12, 7));
        QByteArray damaged = readBytes(links);
        damaged.replace(100, 3000, QByteArray(3000, '\xff'));
        writeBytes(links, damaged);
        writeBytes(links + QStringLiteral("-journal"), "journal");
        // The journal's new name is taken for the next seconds.
        const QDateTime now = QDateTime::currentDateTime();
        for (int s = 0; s < 5; ++s)
            writeBytes(links + QStringLiteral(".danificado-") +
                           now.addSecs(s).toString(QStringLiteral("yyyy-MM-dd-HHmmss")) +
                           QStringLiteral("-journal"),
                       "taken");

        const QString message = errorOf([&] { Backups::restoreIfDamaged(links); });
        QVERIFY2(message.contains(links + QStringLiteral("-journal")), qPrintable(message));
        QCOMPARE(readBytes(links), damaged);
        QCOMPARE(readBytes(links + QStringLiteral("-journal")), QByteArray("journal"));
        QCOMPARE(QDir(inst.dir() + QStringLiteral("/BD"))
                     .entryList({QStringLiteral("QV_Links.mdb.danificado-*")})
                     .size(),
                 5); // the blocking names alone
    }

    // Once a calendar day, seven kept; a clock set back never overwrites a newer copy; a folder
    // that cannot be written costs the start nothing.
    void dailyBackups()
    {
        TestInstall inst;
        const QDate first(2026, 1, 1);
        for (int i = 0; i < 9; ++i) {
            QVERIFY(Backups::atStartup(first.addDays(i)).isEmpty());
            QVERIFY(Backups::atStartup(first.addDays(i)).isEmpty());
        }
        TestInstall::exec(inst.linksDb(),
                          QStringLiteral("insert into Tabela1 (titulo1) values ('novo')"));
        const QStringList before = backupNames(inst);
        QCOMPARE(before.size(), 14);
        QCOMPARE(before.first(), QStringLiteral("QV_Config-2026-01-03.mdb"));
        QCOMPARE(before.last(), QStringLiteral("QV_Links-2026-01-09.mdb"));
        Backups::atStartup(first.addDays(7)); // clock set back
        QCOMPARE(backupNames(inst), before);
        // Copies beyond the newest seven go also on a day whose copy exists already.
        for (const QString& old : {QStringLiteral("2025-12-30"), QStringLiteral("2025-12-31")})
            QVERIFY(QFile::copy(Backups::backupsOf(inst.linksDb()).first(),
                                inst.dir() + QStringLiteral("/BD/backup/QV_Links-") + old +
                                    QStringLiteral(".mdb")));
        QVERIFY(Backups::atStartup(first.addDays(8)).isEmpty());
        QCOMPARE(backupNames(inst), before);
        QVERIFY(Backups::isSound(Backups::backupsOf(inst.linksDb()).first(),
                                 Backups::Check::Integrity));

        QVERIFY(QDir(inst.dir() + QStringLiteral("/BD/backup")).removeRecursively());
        writeBytes(inst.dir() + QStringLiteral("/BD/backup"), "a file");
        QVERIFY(Backups::atStartup(first.addDays(20)).isEmpty());
        const QString message =
            errorOf([&] { Backups::backUp(inst.linksDb(), first.addDays(20)); });
        QVERIFY2(message.contains(inst.linksDb()) &&
                     message.contains(inst.dir() + QStringLiteral("/BD/backup")),
                 qPrintable(message));
    }
    void permissionDecisionsAreKeptOrRefused_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QStringList>("remembered");
        QTest::addColumn<QString>("expected");
        const QString table = QStringLiteral("CREATE TABLE Permissoes (origem TEXT, recurso TEXT, "
                                             "decisao TEXT, quando INTEGER, "
                                             "PRIMARY KEY(origem, recurso))");
        QTest::newRow("none yet: the table is made")
            << QString() << false << QStringList() << "none";
        QTest::newRow("kept across opens")
            << QString() << false << QStringList{"permitir"} << "permitir";
        QTest::newRow("a later one replaces it")
            << table << false << QStringList{"permitir", "negar"} << "negar";
        QTest::newRow("another shape") << "CREATE TABLE Permissoes (origem TEXT, decisao TEXT)"
                                       << false << QStringList() << "error";
        QTest::newRow("without the key")
            << "CREATE TABLE Permissoes (origem TEXT, recurso TEXT, decisao TEXT, quando INTEGER)"
            << false << QStringList() << "error";
        QTest::newRow("a stored value that is no decision")
            << table + QStringLiteral(";INSERT INTO Permissoes VALUES "
                                      "('http://a.example', 'downloads', 'sim', 0)")
            << false << QStringList() << "error";
        QTest::newRow("read-only file without the table")
            << QString() << true << QStringList() << "error";
    }

    // A decision that cannot be read or kept is an error naming the file, never "allowed";
    // the configuration record and a table of another shape stay as they were.
    void permissionDecisionsAreKeptOrRefused()
    {
        QFETCH(QString, setup);
        QFETCH(bool, readOnly);
        QFETCH(QStringList, remembered);
        QFETCH(QString, expected);
        if (readOnly && geteuid() == 0)
            QSKIP("file permissions do not stop root");
        TestInstall inst;
        const QString config = inst.configDb();
        for (const QString& sql : setup.split(u';', Qt::SkipEmptyParts))
            TestInstall::exec(config, sql);
        const auto schema = [&] {
            return TestInstall::query(config, QStringLiteral("SELECT sql FROM sqlite_master"));
        };
        const QString record = QStringLiteral("left||top||homeURL||homeTitulo||minimizado");
        const QStringList before = TestInstall::query(config, "SELECT " + record + " FROM Tabela1");
        const QStringList schemaBefore = schema();
        if (readOnly)
            QVERIFY(QFile::setPermissions(config, QFile::ReadOwner));
        const QString site = QStringLiteral("http://a.example");
        const QString kind = QString::fromUtf16(PermissionStore::kDownloads);
        QString got;
        const QString message = errorOf([&] {
            for (const QString& d : remembered)
                PermissionStore::remember(site, kind,
                                          d == u"permitir" ? PermissionStore::Decision::Allow
                                                           : PermissionStore::Decision::Deny);
            const auto decision = PermissionStore::decision(site, kind);
            got = !decision                                       ? QStringLiteral("none")
                  : *decision == PermissionStore::Decision::Allow ? QStringLiteral("permitir")
                                                                  : QStringLiteral("negar");
            QVERIFY(!PermissionStore::decision(QStringLiteral("http://b.example"), kind));
            QVERIFY(!PermissionStore::decision(site, QStringLiteral("outro")));
            throw QvError(QString());
        });
        QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner);
        if (expected == u"error") {
            QVERIFY2(got.isEmpty() && message.contains(config), qPrintable(got + message));
            QCOMPARE(schema(), schemaBefore);
        } else {
            QCOMPARE(got, expected);
            QCOMPARE(TestInstall::query(config, QStringLiteral("SELECT count(*) FROM Permissoes")),
                     QStringList{QString::number(remembered.isEmpty() ? 0 : 1)});
        }
        QCOMPARE(TestInstall::query(config, "SELECT " + record + " FROM Tabela1"), before);
    }
    void permissionDecisionsAreListedAndForgotten_data()
    {
        QTest::addColumn<QStringList>("rows"); // origem|recurso|decisao|quando
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("forget"); // origem|recurso, or "*" for all
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("announced");
        const QStringList three{"http://a.example|downloads|permitir|10",
                                "http://o'neil.example|câmera|negar|30",
                                "http://a.example|câmera|negar|20"};
        const QStringList newestFirst{"http://o'neil.example|câmera|negar|30",
                                      "http://a.example|câmera|negar|20",
                                      "http://a.example|downloads|permitir|10"};
        QTest::newRow("one, by origin and kind")
            << three << false << "http://o'neil.example|câmera" << newestFirst
            << QStringList{"http://a.example|câmera", "http://a.example|downloads"}
            << QStringList{"http://o'neil.example|câmera"};
        QTest::newRow("the site's other kinds stay")
            << three << false << "http://a.example|downloads" << newestFirst
            << QStringList{"http://a.example|câmera", "http://o'neil.example|câmera"}
            << QStringList{"http://a.example|downloads"};
        QTest::newRow("one not stored: nothing announced")
            << three << false << "http://a.example|microfone" << newestFirst
            << QStringList{"http://a.example|câmera", "http://a.example|downloads",
                           "http://o'neil.example|câmera"}
            << QStringList();
        QTest::newRow("all") << three << false << "*" << newestFirst << QStringList()
                             << QStringList{"|"};
        QTest::newRow("all of none")
            << QStringList() << false << "*" << QStringList() << QStringList() << QStringList();
        QTest::newRow("read-only file")
            << three << true << "http://a.example|downloads" << newestFirst
            << QStringList{"http://a.example|câmera", "http://a.example|downloads",
                           "http://o'neil.example|câmera"}
            << QStringList{"error"};
        QTest::newRow("read-only file, all")
            << three << true << "*" << newestFirst
            << QStringList{"http://a.example|câmera", "http://a.example|downloads",
                           "http://o'neil.example|câmera"}
            << QStringList{"error"};
        QTest::newRow("a stored value that is no decision")
            << QStringList{"http://a.example|downloads|sim|10"} << false << "*"
            << QStringList{"error"} << QStringList() << QStringList{"|"};
    }

    // What is forgotten is only the decision named, it is announced once it is gone, and a
    // file that cannot be changed is an error that forgets nothing and announces nothing.
    void permissionDecisionsAreListedAndForgotten()
    {
        QFETCH(QStringList, rows);
        QFETCH(bool, readOnly);
        QFETCH(QString, forget);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, left);
        QFETCH(QStringList, announced);
        if (readOnly && geteuid() == 0)
            QSKIP("file permissions do not stop root");
        TestInstall inst;
        const QString config = inst.configDb();
        TestInstall::exec(config, QStringLiteral("CREATE TABLE Permissoes (origem TEXT, recurso "
                                                 "TEXT, decisao TEXT, quando INTEGER, "
                                                 "PRIMARY KEY(origem, recurso))"));
        for (const QString& row : rows) {
            QStringList v = row.split(u'|');
            for (QString& f : v)
                f = u'\'' + f.replace(u'\'', QStringLiteral("''")) + u'\'';
            TestInstall::exec(config, "INSERT INTO Permissoes VALUES (" + v.join(u',') + ')');
        }
        const QString record = QStringLiteral("left||top||homeURL||homeTitulo||minimizado");
        const QStringList before = TestInstall::query(config, "SELECT " + record + " FROM Tabela1");
        QStringList got;
        QString message = errorOf([&] {
            for (const PermissionStore::Entry& e : PermissionStore::decisions())
                got << e.origin + u'|' + e.kind + u'|' +
                           (e.decision == PermissionStore::Decision::Allow ? "permitir" : "negar") +
                           u'|' + QString::number(e.when);
        });
        QCOMPARE(message.isEmpty() ? got : QStringList{"error"}, listed);
        QCOMPARE(PermissionStore::hasDecisions(), !rows.isEmpty());
        if (readOnly)
            QVERIFY(QFile::setPermissions(config, QFile::ReadOwner));
        QSignalSpy spy(&PermissionStore::Notifier::instance(),
                       &PermissionStore::Notifier::forgotten);
        const QStringList named = forget.split(u'|');
        message = errorOf([&] {
            if (forget == u"*")
                QCOMPARE(PermissionStore::forgetAll(), int(rows.size()));
            else
                QCOMPARE(PermissionStore::forget(named[0], named[1]), announced.size() == 1);
        });
        QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner);
        QStringList heard;
        for (const QList<QVariant>& args : spy)
            heard << args[0].toString() + u'|' + args[1].toString();
        if (announced == QStringList{"error"})
            QVERIFY2(message.contains(config) && heard.isEmpty(), qPrintable(message));
        else
            QCOMPARE(heard, announced);
        QCOMPARE(TestInstall::query(config, QStringLiteral("SELECT origem||'|'||recurso FROM "
                                                           "Permissoes ORDER BY 1")),
                 left);
        QCOMPARE(PermissionStore::hasDecisions(), !left.isEmpty());
        QCOMPARE(TestInstall::query(config, "SELECT " + record + " FROM Tabela1"), before);
    }
};

QTEST_GUILESS_MAIN(tst_database)
#include "tst_database.moc"
