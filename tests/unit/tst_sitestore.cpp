#include "TestInstall.h"

#include "core/Paths.h"
#include "core/QvError.h"
#include "storage/SiteStore.h"

#include <QFile>
#include <QTest>

class tst_sitestore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void encodeDecode_data();
    void encodeDecode();
    void hostileValuesRoundTrip_data();
    void hostileValuesRoundTrip();
    void openCreatesMissingLinksDatabase();
};

void tst_sitestore::encodeDecode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("decoded");

    QTest::newRow("apostrophe") << "It's here"
                                << "It''s here"
                                << "It's here";
    QTest::newRow("two apostrophes") << "a''b"
                                     << "a''''b"
                                     << "a'b";
    QTest::newRow("three apostrophes") << "'''"
                                       << "''''''"
                                       << "''";
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\\nb"
                           << "a\r\nb";
    QTest::newRow("lone LF, lone CR") << "a\nb\rc"
                                      << "a\nb\rc"
                                      << "a\nb\rc";
    QTest::newRow("CR CR LF") << "\r\r\n"
                              << "\r\\n"
                              << "\r\r\n";
    QTest::newRow("typed backslash-n") << "C:\\new"
                                       << "C:\\new"
                                       << "C:\r\new";
    QTest::newRow("tab") << "a\tb"
                         << "a\\tb"
                         << "a\tb";
    QTest::newRow("typed backslash-t") << "C:\\temp"
                                       << "C:\\temp"
                                       << "C:\temp";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void tst_sitestore::encodeDecode()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QFETCH(QString, decoded);
    QCOMPARE(EncodeSqlText(text), encoded);
    QCOMPARE(DecodeSqlText(text), decoded);
}

void tst_sitestore::hostileValuesRoundTrip_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("apostrophes") << "It's 'quoted'"
                                 << "It's 'quoted'";
    QTest::newRow("two in a row") << "a''b"
                                  << "a''b";
    QTest::newRow("tabs") << "\ta\tb\t"
                          << "\\ta\\tb\\t";
    QTest::newRow("CR LF") << "one\r\ntwo\r\n"
                           << "one\\ntwo\\n";
    QTest::newRow("lone LF") << "one\ntwo"
                             << "one\ntwo";
    QTest::newRow("backslashes") << "C:\\new\\x\\\\y\\"
                                 << "C:\\new\\x\\\\y\\";
    QTest::newRow("double quotes") << "say \"hi\""
                                   << "say \"hi\"";
    QTest::newRow("emoji") << u"sites 😀🚀 ok"_qs << u"sites 😀🚀 ok"_qs;
    QTest::newRow("right to left") << u"مرحبا שלום"_qs << u"مرحبا שלום"_qs;
    QTest::newRow("10000 characters") << QString(10000, u'ç') << QString(10000, u'ç');
    QTest::newRow("injection") << "'); DROP TABLE Tabela1; --"
                               << "'); DROP TABLE Tabela1; --";
}

void tst_sitestore::hostileValuesRoundTrip()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    TestInstall inst;
    SiteStore::instance().insert(typed, typed + "/u");
    // One row, stored as typed apart from line breaks and tabs, and the table still there.
    QCOMPARE(TestInstall::query(inst.linksDb(), "select titulo1||'|'||url from Tabela1"),
             QStringList{stored + "|" + stored + "/u"});
}

void tst_sitestore::openCreatesMissingLinksDatabase()
{
    TestInstall inst;
    QVERIFY(QFile::remove(inst.linksDb()));
    SiteStore::instance().insert("Zebra", "z");
    // A plain SQLite file, and a second open keeps what the first one stored.
    const QStringList schema =
        TestInstall::query(inst.linksDb(), "select sql from sqlite_master where name='Tabela1'");
    QVERIFY2(schema.value(0).contains("titulo1 TEXT COLLATE NOCASE"), qPrintable(schema.join("")));
    QCOMPARE(SiteStore::instance().listing().titles, QList<QString>{"Zebra"});

    // A folder that cannot be made is an error naming the file, not a later "cannot create".
    const QString blocked = inst.dir() + QStringLiteral("/bloqueio");
    QFile file(blocked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QV_Variaveis::LinksDbPath = blocked + QStringLiteral("/BD/QV_Links.mdb");
    try {
        SiteStore::instance().listing();
        QFAIL("a links database below a file was opened");
    } catch (const QvError& e) {
        QVERIFY2(e.message().contains(QV_Variaveis::LinksDbPath), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("criar a pasta")), qPrintable(e.message()));
    }
}

QTEST_GUILESS_MAIN(tst_sitestore)
#include "tst_sitestore.moc"
