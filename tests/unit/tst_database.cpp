#include "TestInstall.h"

#include "core/QvError.h"
#include "storage/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sqlite3.h>

namespace {
// Runs fn, which must throw QvError, and returns the error's message.
template <class Fn>
QString errorOf(Fn fn)
{
    try {
        fn();
    } catch (const QvError& e) {
        return e.message();
    }
    return {};
}

// Handles this process holds on a file.
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

    void trailingStatementIsRejected()
    {
        TestInstall inst;
        auto db = Database::OpenDatabase(inst.linksDb());
        const QString message = errorOf([&] {
            db->Execute(QStringLiteral(
                "insert into Tabela1 (titulo1) values (''); DROP TABLE Tabela1; --')"));
        });
        QVERIFY2(message.contains(inst.linksDb()), qPrintable(message));
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
        QVERIFY2(message.contains(inst.configDb()) && message.contains(QStringLiteral("bloqueado")),
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
};

QTEST_GUILESS_MAIN(tst_database)
#include "tst_database.moc"
