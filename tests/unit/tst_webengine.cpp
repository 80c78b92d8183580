#include "TestInstall.h"
#include "TestMain.h"
#include "dialogs/PermissionForm.h"
#include "engine/PermissionPrompt.h"
#include "engine/WebEngineBrowser.h"
#include "forms/Forms.h"
#include "storage/SessionStore.h"

#include <QApplication>
#include <QLabel>
#include <QMap>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

class tst_webengine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadsShippedPagesAndWalksHistory();
    void pagesRestAndComeBack();
    void permissionQuestionRules_data();
    void permissionQuestionRules();
};

void tst_webengine::permissionQuestionRules_data()
{
    // Steps: "ask PAGE ORIGIN KIND [TIMES]" (ORIGIN a letter: http://LETTER.test), "ends TEXT"
    // (the question on show ends so), "frames PAGE
    // N" (N origins asking for the camera at once), "wait", "allow" (Enter), "block" (Escape),
    // "close" (from outside), "open TEXT" / "none" (the question on show), "hide PAGE", "show
    // PAGE", "leave PAGE" (navigates away), "delete PAGE", "waiting N", "broken" (the table
    // cannot be read). Each reply is logged as "PAGE ORIGIN KIND allow|deny".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<int>("errors");
    const auto s = [](const char* text) { return QString::fromUtf8(text).split(u'|'); };
    const QStringList none;
    QTest::newRow("allowed once, then answered at once")
        << s("ask a a câmera|none|wait|open a.test quer usar a sua câmera.|allow|none|ask a a "
             "câmera|wait|none")
        << s("a a câmera allow|a a câmera allow") << s("http://a.test câmera permitir") << 0;
    QTest::newRow("Escape blocks and is remembered")
        << s("ask a a microfone|wait|open a.test quer usar o seu microfone.|block|ask b a "
             "microfone|wait|none")
        << s("a a microfone deny|b a microfone deny") << s("http://a.test microfone negar") << 0;
    QTest::newRow("a close from outside blocks")
        << s("ask a a câmera e microfone|wait|open a.test quer usar a sua câmera e o seu "
             "microfone.|close|wait|none")
        << s("a a câmera e microfone deny") << s("http://a.test câmera e microfone negar") << 0;
    QTest::newRow("asked again while open: the first's answer, one window")
        << s("ask a a notificações|wait|ask a a notificações 1000|ask b a notificações|wait|"
             "waiting 1|open a.test quer mostrar notificações.|allow|wait|none")
        << s("a a notificações allow|b a notificações allow")
        << s("http://a.test notificações permitir") << 0;
    QTest::newRow("other origins and kinds wait their turn")
        << s("ask a a câmera|ask a b câmera|ask a a ponteiro|wait|waiting 3|open a.test quer "
             "usar a sua câmera.|allow|wait|open b.test quer usar a sua câmera.|block|wait|open "
             "a.test quer prender o ponteiro do mouse.|allow|wait|none")
        << s("a a câmera allow|a b câmera deny|a a ponteiro allow")
        << s("http://a.test câmera permitir|http://a.test ponteiro permitir|http://b.test câmera "
             "negar")
        << 0;
    QTest::newRow("a hidden page waits until it is shown")
        << s("hide a|ask a a localização|wait|none|ask b b câmera|wait|open b.test quer usar a "
             "sua câmera.|block|wait|none|show a|wait|open a.test quer saber a sua "
             "localização.|allow")
        << s("b b câmera deny|a a localização allow")
        << s("http://a.test localização permitir|http://b.test câmera negar") << 0;
    QTest::newRow("navigating away drops the question")
        << s("ask a a câmera|ask a b câmera|wait|open a.test quer usar a sua câmera.|leave "
             "a|wait|none|waiting 0")
        << none << none << 0;
    QTest::newRow("a closed page drops its question, the others stay")
        << s("ask a a câmera|ask b b câmera|wait|open a.test quer usar a sua câmera.|delete "
             "b|allow|wait|none|waiting 0")
        << s("a a câmera allow") << s("http://a.test câmera permitir") << 0;
    QTest::newRow("a page asking from many frames fills the queue no further")
        << s("frames a 40|wait|waiting 32|frames a 40|waiting 32|open 0.test quer usar a sua "
             "câmera.|leave a|waiting 0")
        << QStringList(16, QStringLiteral("a F câmera deny")) << none << 0;
    QTest::newRow("a long origin shows its end, and is kept whole")
        << s("ask a long câmera|wait|ends …a.test quer usar a sua câmera.|block")
        << s("a long câmera deny")
        << QStringList{QStringLiteral("http://%1a.test câmera negar")
                           .arg(QStringLiteral("abcdefgh.").repeated(1000))}
        << 0;
    QTest::newRow("a table that cannot be read refuses, told once")
        << s("broken|ask a a câmera|ask b a câmera|ask a b notificações 5|wait|none")
        << s("a a câmera deny|b a câmera deny|a b notificações deny|a b notificações deny|a b "
             "notificações deny|a b notificações deny|a b notificações deny")
        << none << 2;
}

void tst_webengine::permissionQuestionRules()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, replies);
    QFETCH(QStringList, stored);
    QFETCH(int, errors);
    TestInstall install;
    PermissionPrompt& prompt = PermissionPrompt::instance();
    QMap<QString, QObject*> pages;
    QMap<QString, bool> hidden;
    QStringList log;
    QSet<QPair<QString, QString>> asked;
    const auto pageNamed = [&](const QString& name) {
        if (!pages.contains(name))
            pages.insert(name, new QObject);
        return pages.value(name);
    };
    const auto ask = [&](const QString& page, const QString& origin, const QString& kind,
                         const QString& shownAs) {
        // "long": an origin of some 9,000 characters.
        const QString host =
            origin == u"long" ? QStringLiteral("abcdefgh.").repeated(1000) + u'a' : origin;
        const QUrl url(QStringLiteral("http://%1.test").arg(host));
        asked.insert({url.toString(), kind});
        prompt.request(
            pageNamed(page), url, kind, [&hidden, page] { return !hidden.value(page); },
            [&log, page, shownAs, kind](bool allowed) {
                log.append(page + u' ' + shownAs + u' ' + kind +
                           (allowed ? QStringLiteral(" allow") : QStringLiteral(" deny")));
            });
    };
    const auto form = [] { return Forms::ifLoaded<PermissionForm>(); };
    const auto cleanup = qScopeGuard([&] {
        qDeleteAll(pages);
        PermissionForm::withdraw();
        // Decisions held for this run only go with the row.
        for (const auto& [origin, kind] : asked)
            Q_EMIT PermissionStore::Notifier::instance().forgotten(origin, kind);
    });
    for (const QString& step : steps) {
        const QStringList w = step.split(u' ');
        const QString& op = w[0];
        if (op == u"ask") {
            // The kind may have spaces; a trailing number repeats the request.
            bool counted = false;
            const int times = w.last().toInt(&counted);
            const QString kind = w.mid(3, w.size() - 3 - (counted ? 1 : 0)).join(u' ');
            for (int i = 0; i < (counted ? times : 1); ++i)
                ask(w[1], w[2], kind, w[2]);
        } else if (op == u"frames") {
            for (int i = 0; i < w[2].toInt(); ++i)
                ask(w[1], QString::number(i), QStringLiteral("câmera"), QStringLiteral("F"));
        } else if (op == u"wait") {
            QTest::qWait(300);
        } else if (op == u"allow" || op == u"block") {
            QVERIFY2(form(), qPrintable(step));
            QTest::keyClick(form(), op == u"allow" ? Qt::Key_Return : Qt::Key_Escape);
        } else if (op == u"close") {
            QVERIFY(form());
            form()->close();
        } else if (op == u"open") {
            QVERIFY2(form(), qPrintable(step));
            QCOMPARE(form()->findChild<QLabel*>(QStringLiteral("lblMensagem"))->text(),
                     w.mid(1).join(u' '));
        } else if (op == u"ends") {
            // The host cut so that its end shows, the question whole, on a few lines.
            QVERIFY2(form(), qPrintable(step));
            const QString text = form()->findChild<QLabel*>(QStringLiteral("lblMensagem"))->text();
            QVERIFY2(text.endsWith(w.mid(1).join(u' ')) && text.size() < 120, qPrintable(text));
        } else if (op == u"none") {
            QVERIFY2(!form(), qPrintable(step));
        } else if (op == u"hide" || op == u"show") {
            // As the browser tells when it brings a page forward.
            hidden[w[1]] = op == u"hide";
            if (op == u"show")
                prompt.pageShown();
        } else if (op == u"leave") {
            prompt.drop(pageNamed(w[1]));
        } else if (op == u"delete") {
            delete pages.take(w[1]);
        } else if (op == u"waiting") {
            QCOMPARE(prompt.waiting(), w[1].toInt());
        } else if (op == u"broken") {
            TestInstall::exec(install.configDb(), QStringLiteral("CREATE TABLE Permissoes (x)"));
        }
        // Never more than one question on show.
        int up = 0;
        for (const QWidget* top : QApplication::topLevelWidgets())
            up += top->isVisible() && qobject_cast<const PermissionForm*>(top);
        QVERIFY2(up <= 1, qPrintable(step));
    }
    QCOMPARE(log, replies);
    if (!steps.contains(QStringLiteral("broken")))
        QCOMPARE(TestInstall::query(install.configDb(),
                                    QStringLiteral("SELECT origem||' '||recurso||' '||decisao "
                                                   "FROM Permissoes ORDER BY 1")),
                 stored);
    QCOMPARE(install.errors.size(), errors);
}

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

// A page behind the one shown: stored with its history, restored only when first shown, frozen
// and then discarded in the background and back when shown.
void tst_webengine::pagesRestAndComeBack()
{
    using namespace std::chrono_literals;
    using Lifecycle = QWebEnginePage::LifecycleState;
    const QString startPage = QStringLiteral(QV_INSTALL_DIR "/Web/index.htm");
    const QString errorPage = QStringLiteral(QV_INSTALL_DIR "/Web/erro404.htm");
    const QString behind =
        QStringLiteral("data:text/html;charset=utf-8,<title>Atr%C3%A1s</title>atr%C3%A1s");

    Session stored;
    {
        WebEngineBrowser browser(nullptr);
        browser.resize(260, 380);
        browser.show();
        QSignalSpy complete(&browser, &BrowserControl::DocumentComplete);
        browser.Navigate(startPage);
        QTRY_VERIFY_WITH_TIMEOUT(complete.count() == 1, 20000);
        browser.Navigate(errorPage);
        QTRY_VERIFY_WITH_TIMEOUT(complete.count() == 2, 20000);
        QVERIFY(browser.openPage(behind, BrowserControl::Placement::Behind));
        QCOMPARE(browser.pageCount(), 2);
        QCOMPARE(browser.shownIndex(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(browser.pageSummaries().value(1).title, u"Atrás", 20000);
        // A load behind is not the page shown's.
        QCOMPARE(complete.count(), 2);

        browser.ageBackgroundPages(WebEngineBrowser::kFreezeAfter);
        QCOMPARE(browser.pageAt(1)->lifecycleState(), Lifecycle::Frozen);
        QCOMPARE(browser.pageAt(0)->lifecycleState(), Lifecycle::Active);
        browser.ageBackgroundPages(WebEngineBrowser::kDiscardAfter);
        QCOMPARE(browser.pageAt(1)->lifecycleState(), Lifecycle::Discarded);
        browser.showPage(1);
        QCOMPARE(browser.pageAt(1)->lifecycleState(), Lifecycle::Active);
        QTRY_VERIFY_WITH_TIMEOUT(complete.count() == 3, 20000);
        QCOMPARE(browser.title(), u"Atrás");

        browser.showPage(0);
        stored = browser.session();
    }
    QCOMPARE(stored.open.size(), size_t(2));
    QCOMPARE(stored.shown, 0);

    WebEngineBrowser browser(nullptr);
    browser.resize(260, 380);
    browser.show();
    QSignalSpy complete(&browser, &BrowserControl::DocumentComplete);
    browser.restore(stored);
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() == 1, 20000);
    QCOMPARE(browser.LocationURL(), QUrl::fromLocalFile(errorPage).toString());
    QVERIFY(browser.canGoBack());         // with its back and forward list
    QCOMPARE(browser.pageAt(1), nullptr); // loaded when first shown
    QCOMPARE(QUrl(browser.pageSummaries().value(1).address), QUrl(behind));
}

QV_TEST_MAIN(tst_webengine)

#include "tst_webengine.moc"
