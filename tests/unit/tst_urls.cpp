#include "browser/NavigationPolicy.h"
#include "core/DownloadNames.h"
#include "core/Paths.h"
#include "core/UrlTools.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(NavigationPolicy::Verdict)
Q_DECLARE_METATYPE(NavigationPolicy::UserAction)

namespace {
const QString kAppDir = QStringLiteral("/opt/Programas/Quorvane");
}

class tst_urls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setApplicationDirForTesting(kAppDir); }
    void cleanupTestCase() { setApplicationDirForTesting(QString()); }

    void getFullUrl_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");

        // Recognised texts come back unchanged, their own letter case included.
        QTest::newRow("http") << "http://host/page" << true;
        QTest::newRow("https") << "https://host/page" << true;
        QTest::newRow("capitals") << "HTTP://Host/Page" << true;
        QTest::newRow("mixed case file") << "File://C:/docs/page.htm" << true;
        QTest::newRow("mailto alone") << "mailto:" << true;
        QTest::newRow("news") << "news:group" << true;
        QTest::newRow("ftp") << "ftp://h" << true;
        QTest::newRow("ftps") << "FTPS://h" << true;
        QTest::newRow("sftp") << "sftp://h" << true;
        QTest::newRow("telnet") << "Telnet://h:23" << true;
        QTest::newRow("ssh") << "ssh://h" << true;
        QTest::newRow("gopher") << "gopher://h" << true;
        QTest::newRow("trailing space kept") << "https://host/ " << true;

        // Everything else is a page below the Web folder, the text appended as it is.
        QTest::newRow("leading space") << " http://host/page" << false;
        QTest::newRow("one slash") << "http:/host" << false;
        QTest::newRow("ftp without slashes") << "ftp:host" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("https: alone") << "https:" << false;
        QTest::newRow("mailto without colon") << "mailto" << false;
        QTest::newRow("host without scheme") << "host/page" << false;
        QTest::newRow("local page") << "index.htm" << false;
        QTest::newRow("unknown scheme") << "javascript:alert(1)" << false;
    }

    void getFullUrl()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);
        QCOMPARE(GetFullUrl(text), recognised ? text : kAppDir + QStringLiteral("/Web/") + text);
    }

    void downloadNameStaysInItsFolder_data()
    {
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain") << "relatorio.pdf"
                               << "relatorio.pdf";
        QTest::newRow("parent folders") << "../../etc/passwd"
                                        << "passwd";
        QTest::newRow("backslashes") << "..\\..\\x.txt"
                                     << "x.txt";
        QTest::newRow("dots only") << ".."
                                   << "download";
        QTest::newRow("hidden file") << ".bashrc"
                                     << "bashrc";
        QTest::newRow("control characters")
            << QString(QStringLiteral("a") + QChar(1) + QStringLiteral("b\nc") + QChar(0x202e) +
                       QStringLiteral(".txt"))
            << "abc.txt";
        QTest::newRow("empty") << ""
                               << "download";
        QTest::newRow("trailing slash") << "pasta/"
                                        << "download";
        QTest::newRow("too long keeps extension")
            << QString(QString(300, u'\u00e7') + QStringLiteral(".pdf"))
            << QString(QString(98, u'\u00e7') + QStringLiteral(".pdf"));
    }

    void downloadNameStaysInItsFolder()
    {
        QFETCH(QString, suggested);
        QFETCH(QString, expected);
        QCOMPARE(DownloadNames::safeName(suggested), expected);
    }

    void printedPageNameStaysInItsFolder_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::newRow("title") << "Notícias de hoje"
                               << "Notícias de hoje.pdf";
        QTest::newRow("slashes are not folders") << "../a/b\\c"
                                                 << "-a-b-c.pdf";
        QTest::newRow("empty") << ""
                               << "pagina.pdf";
        QTest::newRow("dots and controls only") << " ..\t\n"
                                                << "pagina.pdf";
        QTest::newRow("a PDF's own title") << "manual.PDF"
                                           << "manual.pdf";
    }

    void printedPageNameStaysInItsFolder()
    {
        QFETCH(QString, title);
        QFETCH(QString, expected);
        QCOMPARE(DownloadNames::pdfName(title), expected);
    }

    void downloadNeverReplacesAFile()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QCOMPARE(DownloadNames::freeName(folder, "a.tar.gz"), QStringLiteral("a.tar.gz"));
        for (const char* name : {"a.tar.gz", "a.tar (1).gz", "semext"})
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
        QCOMPARE(DownloadNames::freeName(folder, "a.tar.gz"), QStringLiteral("a.tar (2).gz"));
        QCOMPARE(DownloadNames::freeName(folder, "semext"), QStringLiteral("semext (1)"));
        QVERIFY(DownloadNames::partName(folder).startsWith(u'.'));
    }

    void externalAddressesNeedAClick_data()
    {
        using V = NavigationPolicy::Verdict;
        using A = NavigationPolicy::UserAction;
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("type");
        QTest::addColumn<A>("action");
        QTest::addColumn<V>("verdict");

        const int link = QWebEnginePage::NavigationTypeLinkClicked;
        const int typed = QWebEnginePage::NavigationTypeTyped;
        const int redirect = QWebEnginePage::NavigationTypeRedirect;
        const int other = QWebEnginePage::NavigationTypeOther;
        const int back = QWebEnginePage::NavigationTypeBackForward;
        const QString web = QStringLiteral("https://site.example/");
        QTest::newRow("web page") << "http://a/" << web << link << A::None << V::Show;
        QTest::newRow("mailto clicked")
            << "mailto:a@b" << web << link << A::Recent << V::OpenExternal;
        QTest::newRow("TEL clicked") << "TEL:123" << web << link << A::Recent << V::OpenExternal;
        QTest::newRow("mailto by script") << "mailto:a@b" << web << link << A::None << V::Refuse;
        QTest::newRow("mailto redirect")
            << "mailto:a@b" << web << redirect << A::Recent << V::Refuse;
        QTest::newRow("ssh clicked") << "ssh://h" << web << link << A::Recent << V::AskFirst;
        QTest::newRow("ssh by script") << "ssh://h" << web << other << A::Recent << V::Refuse;
        QTest::newRow("saved ssh site") << "ssh://h"
                                        << "" << typed << A::None << V::AskFirst;
        QTest::newRow("file from web")
            << "file:///etc/passwd" << web << link << A::Recent << V::Refuse;
        QTest::newRow("file back from web")
            << "file:///w/index.htm" << web << back << A::None << V::Show;
        QTest::newRow("file by the program")
            << "file:///w/index.htm" << web << typed << A::None << V::Show;
        QTest::newRow("file from file") << "file:///w/b.htm"
                                        << "file:///w/a.htm" << link << A::Recent << V::Show;
    }

    void externalAddressesNeedAClick()
    {
        QFETCH(QString, target);
        QFETCH(QString, current);
        QFETCH(int, type);
        QFETCH(NavigationPolicy::UserAction, action);
        QFETCH(NavigationPolicy::Verdict, verdict);
        QCOMPARE(NavigationPolicy::verdict(QUrl(target), QUrl(current),
                                           QWebEnginePage::NavigationType(type), action),
                 verdict);
    }
};

QTEST_GUILESS_MAIN(tst_urls)
#include "tst_urls.moc"
