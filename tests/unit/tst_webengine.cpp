#include "TestMain.h"
#include "engine/WebEngineBrowser.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

class tst_webengine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadsShippedPagesAndWalksHistory();
};

void tst_webengine::loadsShippedPagesAndWalksHistory()
{
    const QString startPage = QStringLiteral(QV_INSTALL_DIR "/Web/index.htm");
    const QString errorPage = QStringLiteral(QV_INSTALL_DIR "/Web/erro404.htm");
    const QString startUrl = QUrl::fromLocalFile(startPage).toString();

    WebEngineBrowser browser(nullptr);
    browser.resize(260, 380);
    browser.show();
    QSignalSpy complete(&browser, &BrowserControl::DocumentComplete);
    browser.setSilent(true);
    // Nothing has been loaded yet: no history in either direction, and going there does nothing.
    QVERIFY(!browser.canGoBack() && !browser.canGoForward());
    browser.GoBack();
    browser.GoForward();
    QCOMPARE(browser.LocationURL(), QString());

    browser.Navigate(startPage); // an absolute path becomes a file address
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() >= 1, 20000);
    QCOMPARE(browser.LocationURL(), startUrl);
    QCOMPARE(complete.last().value(0).toString(), startUrl);
    QVERIFY(browser.Silent());
    QVERIFY(!browser.canGoBack());

    complete.clear();
    browser.Navigate(errorPage);
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() >= 1, 20000);
    QCOMPARE(browser.LocationURL(), QUrl::fromLocalFile(errorPage).toString());
    QVERIFY(browser.canGoBack() && !browser.canGoForward());

    complete.clear();
    browser.GoBack();
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() >= 1, 20000);
    QCOMPARE(browser.LocationURL(), startUrl);
    QVERIFY(!browser.canGoBack() && browser.canGoForward());
    complete.clear();
    browser.GoBack(); // the first page: nothing happens
    QTest::qWait(200);
    QCOMPARE(complete.count(), 0);
    QCOMPARE(browser.LocationURL(), startUrl);
}

QV_TEST_MAIN(tst_webengine)

#include "tst_webengine.moc"
