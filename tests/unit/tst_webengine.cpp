#include "TestMain.h"
#include "core/QvError.h"
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
    // Nothing has been loaded yet: no history in either direction.
    QVERIFY_THROWS_EXCEPTION(QvError, browser.GoBack());
    QVERIFY_THROWS_EXCEPTION(QvError, browser.GoForward());

    browser.Navigate(startPage); // an absolute path becomes a file address
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() >= 1, 20000);
    QCOMPARE(browser.LocationURL(), startUrl);
    QCOMPARE(complete.last().value(0).toString(), startUrl);
    QVERIFY(browser.Silent());
    QVERIFY_THROWS_EXCEPTION(QvError, browser.GoBack());

    complete.clear();
    browser.Navigate(errorPage);
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() >= 1, 20000);
    QCOMPARE(browser.LocationURL(), QUrl::fromLocalFile(errorPage).toString());

    complete.clear();
    browser.GoBack();
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() >= 1, 20000);
    QCOMPARE(browser.LocationURL(), startUrl);
    QVERIFY_THROWS_EXCEPTION(QvError, browser.GoBack());
}

QV_TEST_MAIN(tst_webengine)

#include "tst_webengine.moc"
