#include "TestInstall.h"

#include "core/QvError.h"
#include "core/UrlTools.h"
#include "storage/BookmarkFile.h"
#include "storage/BookmarkSites.h"
#include "storage/SiteStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

namespace {

const QByteArray kHeader = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                           "<!-- This is an automatically generated file.\n"
                           "     It will be read and overwritten.\n"
                           "     DO NOT EDIT! -->\n"
                           "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                           "charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n";

// As Firefox writes it: icons as data: URIs, place: queries, separators, descriptions, tags.
const QByteArray kFirefox =
    kHeader +
    "<DL><p>\n"
    "    <DT><A HREF=\"https://www.mozilla.org/pt-BR/\" ADD_DATE=\"1700000000\" "
    "LAST_MODIFIED=\"1700000001\" ICON_URI=\"https://www.mozilla.org/favicon.ico\" "
    "ICON=\"data:image/png;base64,iVBORw0KGgoAAAANSUhEUg==\">Mozilla &amp; amigos</A>\n"
    "    <HR>\n"
    "    <DT><A HREF=\"place:sort=8&maxResults=10\" ADD_DATE=\"1700000000\">Mais visitados</A>\n"
    "    <DT><H3 ADD_DATE=\"1700000000\" PERSONAL_TOOLBAR_FOLDER=\"true\">Barra de "
    "favoritos</H3>\n"
    "    <DL><p>\n"
    "        <DT><H3 ADD_DATE=\"1700000000\">Notícias</H3>\n"
    "        <DL><p>\n"
    "            <DT><A HREF=\"https://g1.globo.com/\" ADD_DATE=\"1700000000\">G1 &#8211; "
    "Notícias</A>\n"
    "            <DT><A HREF=\"https://www.folha.uol.com.br/\" TAGS=\"jornal\">Folha de "
    "S.Paulo</A>\n"
    "        </DL><p>\n"
    "        <DT><A HREF=\"  JavaScript:void(0)\">Bookmarklet</A>\n"
    "        <DT><A HREF=\"\">vazio</A>\n"
    "    </DL><p>\n"
    "    <DT><A HREF=\"https://www.mozilla.org/pt-BR/\">Mozilla de novo</A>\n"
    "    <DD>Uma descrição\n"
    "</DL>\n";

// As Chromium writes it: everything inside the bar's folder, entities, a link without text.
const QByteArray kChromium =
    kHeader +
    "<DL><p>\n"
    "    <DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000000\" "
    "PERSONAL_TOOLBAR_FOLDER=\"true\">Barra de favoritos</H3>\n"
    "    <DL><p>\n"
    "        <DT><A HREF=\"https://www.gov.br/\" ADD_DATE=\"1700000000\" "
    "ICON=\"data:image/png;base64,AAAA\">gov.br</A>\n"
    "        <DT><A HREF=\"https://example.com/?a=1&amp;b=2\">D&#39;Ávila &quot;citações&quot; "
    "&lt;b&gt;</A>\n"
    "        <DT><A HREF=\"https://sem-titulo.example/\" ADD_DATE=\"1700000000\"></A>\n"
    "    </DL><p>\n"
    "    <DT><H3>Outros favoritos</H3>\n"
    "    <DL><p>\n"
    "        <DT><A HREF=\"https://www.gov.br/\">gov.br (cópia)</A>\n"
    "    </DL><p>\n"
    "</DL><p>\n";

// As GNOME Web writes it: lower-case tags, one folder per tag, no paragraph marks.
const QByteArray kGnomeWeb =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<meta charset=\"utf-8\">\n<title>Bookmarks</title>\n"
    "<h1>Bookmarks</h1>\n<dl>\n"
    "<dt><h3>Favoritos</h3>\n<dl>\n"
    "<dt><a href=\"https://wiki.gnome.org/Apps/Web\" add_date=\"1700000000\" "
    "tags=\"Favoritos\">GNOME\n  Web</a>\n"
    "</dl>\n"
    "<dt><a href=\"https://www.debian.org/\" add_date=\"1700000000\">Debian</a>\n"
    "</dl>\n";

// A literal with the NUL bytes it holds.
template <size_t N>
QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

} // namespace

class tst_bookmarks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_inst = std::make_unique<TestInstall>(); }
    void cleanup() { m_inst.reset(); }

    void importStoresRowsAsTyped_data();
    void importStoresRowsAsTyped();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void failedImportLeavesNoRow();
    void exportThenImportGivesSameRows();
    void exportThatCannotBeWrittenLeavesNoFile_data();
    void exportThatCannotBeWrittenLeavesNoFile();

private:
    QStringList rows() const
    {
        return TestInstall::query(m_inst->linksDb(),
                                  "select titulo1||'|'||url from Tabela1 order by id");
    }
    BookmarkSites::Outcome import(const QByteArray& file)
    {
        return SiteStore::instance().importLinks(m_inst->linksDb(),
                                                 BookmarkFile::parse(file).links);
    }
    QString writeFile(const QString& name, const QByteArray& content) const
    {
        const QString path = m_inst->dir() + u'/' + name;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    std::unique_ptr<TestInstall> m_inst;
};

void tst_bookmarks::importStoresRowsAsTyped_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("before"); // addresses already in the list
    QTest::addColumn<QStringList>("added");  // the new rows as stored, title|url
    // imported, repeated, invalid, from folders
    QTest::addColumn<QList<int>>("counts");

    QTest::newRow("Firefox") << kFirefox << QStringList{"https://www.folha.uol.com.br/"}
                             << QStringList{"Mozilla & amigos|https://www.mozilla.org/pt-BR/",
                                            "G1 – Notícias|https://g1.globo.com/"}
                             << QList<int>{2, 2, 3, 1};
    QTest::newRow("Chromium")
        << kChromium << QStringList{}
        << QStringList{"gov.br|https://www.gov.br/",
                       "D'Ávila \"citações\" <b>|https://example.com/?a=1&b=2",
                       "https://sem-titulo.example/|"
                       "https://sem-titulo.example/"}
        << QList<int>{3, 1, 0, 3};
    QTest::newRow("GNOME Web") << kGnomeWeb << QStringList{}
                               << QStringList{"GNOME   Web|https://wiki.gnome.org/Apps/Web",
                                              "Debian|https://www.debian.org/"}
                               << QList<int>{2, 0, 0, 1};
    // The list's own trimming and encoding decide what is the same address.
    QTest::newRow("stored with spaces and a tab")
        << kHeader + "<DL><p><DT><A HREF=\"http://a/\">A</A>"
                     "<DT><A HREF=\"http://b/\tx\">B</A>"
        << QStringList{"  http://a/ ", "http://b/\\tx"} << QStringList{} << QList<int>{0, 2, 0, 0};
    QTest::newRow("damaged: no doctype, unclosed links, unquoted")
        << QByteArray("<p>Salvo: <a href=http://x.example/>X<dt><A HREF='http://y.example/'>Y "
                      "&copy;</a><a>sem endereço</a>")
        << QStringList{} << QStringList{"X|http://x.example/", "Y ©|http://y.example/"}
        << QList<int>{2, 0, 0, 0};
    QTest::newRow("invalid UTF-8 and NUL bytes")
        << kHeader + raw("<DL><p><DT><A HREF=\"http://u/\">a\xff\xfe"
                         "b\0c</A>")
        << QStringList{} << QStringList{"a\uFFFD\uFFFDbc|http://u/"} << QList<int>{1, 0, 0, 0};
    QTest::newRow("address of 100,000 characters")
        << kHeader + "<DL><p><DT><A HREF=\"http://l/" + QByteArray(100000, 'x') + "\">L</A>"
        << QStringList{} << QStringList{} << QList<int>{0, 0, 1, 0};
    // The one limit of the program on an address, which the history keeps too.
    const QByteArray longest = "http://l/" + QByteArray(kMaxAddressLength - 9, 'x');
    QTest::newRow("addresses at the limit and one past it")
        << kHeader + "<DL><p><DT><A HREF=\"" + longest + "\">L</A><DT><A HREF=\"" + longest +
               "y\">M</A>"
        << QStringList{} << QStringList{"L|" + QString::fromLatin1(longest)}
        << QList<int>{1, 0, 1, 0};
}

void tst_bookmarks::importStoresRowsAsTyped()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, before);
    QFETCH(QStringList, added);
    QFETCH(QList<int>, counts);
    for (const QString& url : before)
        TestInstall::exec(m_inst->linksDb(),
                          "insert into Tabela1 (titulo1,url) values ('x', '" + url + "')");
    const QStringList old = rows();
    const BookmarkSites::Outcome o = import(file);
    QCOMPARE(rows().mid(old.size()), added);
    QCOMPARE(QList<int>({o.imported, o.duplicates, o.invalid, o.fromFolders}), counts);
    QCOMPARE(o.ids.size(), added.size());
}

void tst_bookmarks::badFileChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // a null array: a folder of that name
    QTest::addColumn<qint64>("size");        // grown sparse to this size when > 0
    QTest::addColumn<QString>("why");

    const QString notBookmarks = "não é um arquivo de favoritos";
    QTest::newRow("PNG") << "foto.html" << raw("\x89PNG\r\n\x1a\n\0\0\0\rIHDR") << 0ll
                         << notBookmarks;
    QTest::newRow("empty") << "vazio.html" << QByteArray("") << 0ll << notBookmarks;
    QTest::newRow("a page without links")
        << "pagina.htm" << QByteArray("<html><body><p>Olá</p></body></html>") << 0ll
        << notBookmarks;
    QTest::newRow("200 MB") << "grande.html" << kHeader << 200ll * 1024 * 1024
                            << "tem mais de 64 MB";
    QByteArray million = kHeader + "<DL><p>\n";
    for (int i = 0; i < 1000000; ++i)
        million += "<DT><A HREF=\"http://s/" + QByteArray::number(i) + "\">s</A>\n";
    QTest::newRow("a million links")
        << "milhao.html" << million << 0ll << "tem mais de 100.000 links";
    QTest::newRow("folder") << "pasta.html" << QByteArray() << 0ll
                            << "é uma pasta, não um arquivo de favoritos";
}

void tst_bookmarks::badFileChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(qint64, size);
    QFETCH(QString, why);
    QString path = m_inst->dir() + u'/' + name;
    if (content.isNull())
        QVERIFY(QDir().mkdir(path));
    else
        path = writeFile(name, content);
    if (size > 0)
        QVERIFY(QFile::resize(path, size));
    const QString error = errorOf([&] { BookmarkFile::load(path); });
    QVERIFY2(error.startsWith("\"" + name + "\" " + why) && error.endsWith("; nada foi importado."),
             qPrintable(error));
}

void tst_bookmarks::failedImportLeavesNoRow()
{
    // A statement the engine refuses (a NUL in the text) after rows already went in.
    const std::vector<BookmarkFile::Link> links{{"A", "http://a/", false},
                                                {"B", "http://b/", false},
                                                {"C", QString::fromUtf8("http://c/\0", 10), false}};
    QVERIFY_THROWS_EXCEPTION(QvError, SiteStore::instance().importLinks(m_inst->linksDb(), links));
    QCOMPARE(rows(), QStringList{});
    TestInstall::exec(m_inst->linksDb(), "insert into Tabela1 (titulo1,url) values ('d','d')");
    QCOMPARE(rows(), QStringList{"d|d"}); // no transaction was left open
}

void tst_bookmarks::exportThenImportGivesSameRows()
{
    TestInstall::exec(m_inst->linksDb(),
                      "insert into Tabela1 (titulo1,url) values ('Zé''s <b>&amp;</b>', "
                      "'http://z/?a=1&b=\"2\"'), ('ação\\tnova 😀', 'http://a/#x'), "
                      "('Banco', 'banco.com.br'), ('Espaços  dentro ', 'file:///tmp/a b.html')");
    const std::vector<BookmarkFile::Site> sites =
        SiteStore::sites(m_inst->linksDb(), SiteStore::Addresses::AsStored);
    const QString path = m_inst->dir() + "/favoritos.html";
    QCOMPARE(errorOf([&] { BookmarkFile::save(path, sites, 1700000000); }), QString());
    BookmarkFile::Parsed parsed;
    QCOMPARE(errorOf([&] { parsed = BookmarkFile::load(path); }), QString());
    QVERIFY(parsed.hasDoctype);
    const QStringList listed = TestInstall::query(
        m_inst->linksDb(), "select titulo1||'|'||url from Tabela1 order by titulo1");
    // Into an empty list: the same rows, in list order, apart from the ends of titles trimmed.
    TestInstall::exec(m_inst->linksDb(), "delete from Tabela1");
    QCOMPARE(SiteStore::instance().importLinks(m_inst->linksDb(), parsed.links).imported, 4);
    QStringList expected = listed;
    expected.replaceInStrings("Espaços  dentro |", "Espaços  dentro|");
    QCOMPARE(rows(), expected);
    // Again into the same list: every one is already there.
    QCOMPARE(import(BookmarkFile::write(sites, 0)).duplicates, 4);
}

void tst_bookmarks::exportThatCannotBeWrittenLeavesNoFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("why");
    QTest::newRow("below a file") << "arquivo/favoritos.html"
                                  << "Não foi possível criar";
    QTest::newRow("over a folder") << "pasta"
                                   << "Não foi possível";
}

void tst_bookmarks::exportThatCannotBeWrittenLeavesNoFile()
{
    QFETCH(QString, target);
    QFETCH(QString, why);
    const QString dir = m_inst->dir() + "/saida";
    QVERIFY(QDir().mkpath(dir + "/pasta"));
    writeFile("saida/arquivo", "x");
    const QString error = errorOf([&] {
        BookmarkFile::save(dir + u'/' + target, {{"a", "http://a/"}}, 0);
    });
    QVERIFY2(error.startsWith(why) && error.contains("\"" + QFileInfo(target).fileName() + "\"") &&
                 error.endsWith("nada foi exportado."),
             qPrintable(error));
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"arquivo", "pasta"}));
    QVERIFY(QDir(dir + "/pasta").isEmpty());
}

QTEST_GUILESS_MAIN(tst_bookmarks)
#include "tst_bookmarks.moc"
