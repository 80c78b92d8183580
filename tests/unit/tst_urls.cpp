#include "core/Paths.h"
#include "core/UrlTools.h"

#include <QTest>

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
};

QTEST_GUILESS_MAIN(tst_urls)
#include "tst_urls.moc"
