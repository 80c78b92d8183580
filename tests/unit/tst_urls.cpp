#include "core/DisplayText.h"
#include "core/DownloadNames.h"
#include "core/Paths.h"
#include "core/QvError.h"
#include "core/StartAddresses.h"
#include "core/TypedText.h"
#include "core/UrlTools.h"
#include "engine/LoginPrompt.h"
#include "engine/NavigationPolicy.h"
#include "engine/TrackingProtection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(NavigationPolicy::Verdict)
Q_DECLARE_METATYPE(NavigationPolicy::UserAction)
Q_DECLARE_METATYPE(TypedText::Kind)

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
        // The finished file takes the next free name; one that cannot be kept is an error in
        // the notice's words, never an empty name.
        const QString part = folder.filePath(DownloadNames::partName(folder));
        QVERIFY(QFile(part).open(QIODevice::WriteOnly));
        QCOMPARE(DownloadNames::keep(folder, part, "a.tar.gz", DownloadNames::Kind::Download),
                 QStringLiteral("a.tar (2).gz"));
        QVERIFY(!QFile::exists(part));
        try {
            DownloadNames::keep(folder, part, "b.pdf", DownloadNames::Kind::Print);
            QFAIL("a file that is not there was kept");
        } catch (const QvError& e) {
            QCOMPARE(e.message(), QStringLiteral("Não foi possível imprimir b.pdf: não foi "
                                                 "possível gravar o arquivo."));
        }
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
        // The program's own files and the engine's own addresses, whoever asks.
        QTest::newRow("qrc from web")
            << "qrc:/sql/QV_Links_schema.sql" << web << link << A::Recent << V::Refuse;
        QTest::newRow("qrc from a local page")
            << "qrc:/pictures/btnHome.svg"
            << "file:///w/a.htm" << other << A::None << V::Refuse;
        QTest::newRow("engine debug address by the program")
            << "chrome://crash" << web << typed << A::None << V::Refuse;
        QTest::newRow("engine address a page opens in a new window")
            << "CHROME://gpucrash/" << web << link << A::Recent << V::Refuse;
        QTest::newRow("view-source of an engine address")
            << "view-source:chrome://kill" << web << typed << A::None << V::Refuse;
        QTest::newRow("the engine's error page")
            << "chrome-error://chromewebdata/" << web << other << A::None << V::Show;
        QTest::newRow("blank page") << "about:blank" << web << link << A::None << V::Show;
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
    // A login is asked only by the page's own site: public suffixes (listed or not) and
    // addresses are no sites of their own, and 127.0.0.1 is not localhost.
    void loginAskedOnlyForThePagesSite_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("asks");

        const QString banco = QStringLiteral("https://www.banco.com.br/conta");
        QTest::newRow("the page itself") << banco << banco << true;
        QTest::newRow("another host, same owner")
            << "http://login.banco.com.br:8080/" << banco << true;
        QTest::newRow("letter case and final dot") << "http://WWW.Banco.COM.BR./" << banco << true;
        QTest::newRow("a sibling under a public suffix")
            << "https://outro.com.br/" << banco << false;
        QTest::newRow("a sibling under a hosting suffix") << "https://a.github.io/"
                                                          << "https://b.github.io/" << false;
        QTest::newRow("a long host ending in another site")
            << "http://www.banco.com.br.aaaa.localhost/"
            << "http://localhost/" << false;
        QTest::newRow("two hosts of one unlisted suffix") << "http://a.aaaa.localhost/"
                                                          << "http://b.aaaa.localhost/" << true;
        QTest::newRow("loopback by name and number") << "http://localhost:8000/"
                                                     << "http://127.0.0.1:8000/" << false;
        QTest::newRow("one address, two ports") << "http://127.0.0.1:1/"
                                                << "http://127.0.0.1:2/" << true;
        QTest::newRow("addresses are not domains") << "http://10.0.0.1/"
                                                   << "http://192.168.0.1/" << false;
        QTest::newRow("IPv6") << "http://[::1]:8080/"
                              << "http://[::1]/" << true;
        QTest::newRow("a local page") << "http://127.0.0.1/"
                                      << "file:///w/index.htm" << false;
        QTest::newRow("nothing shown yet") << "http://127.0.0.1/"
                                           << "" << false;
    }

    void loginAskedOnlyForThePagesSite()
    {
        QFETCH(QString, requested);
        QFETCH(QString, page);
        QFETCH(bool, asks);
        QCOMPARE(LoginPrompt::mayAsk(QUrl(requested), QUrl(page)), asks);
    }

    void typedTextIsAddressSearchOrRefused_data()
    {
        using K = TypedText::Kind;
        QTest::addColumn<QString>("typed");
        QTest::addColumn<K>("kind");
        QTest::addColumn<QString>("url");

        const QString q = QStringLiteral("https://s/?q=");
        QTest::newRow("empty") << "" << K::Empty << "";
        QTest::newRow("blanks and controls only") << QString(" \t\n\x01 ") << K::Empty << "";
        QTest::newRow("scheme kept as typed")
            << "HTTPS://Debian.org/A b" << K::Address << "HTTPS://Debian.org/A b";
        QTest::newRow("about") << "about:blank" << K::Address << "about:blank";
        QTest::newRow("host") << "debian.org" << K::Address << "https://debian.org";
        QTest::newRow("host and path")
            << "www.debian.org/doc?x#y" << K::Address << "https://www.debian.org/doc?x#y";
        QTest::newRow("accented host") << "ação.com.br" << K::Address << "https://ação.com.br";
        QTest::newRow("punycode top") << "a.xn--p1ai" << K::Address << "https://a.xn--p1ai";
        QTest::newRow("IPv4 and port")
            << "127.0.0.1:8080/x" << K::Address << "http://127.0.0.1:8080/x";
        QTest::newRow("localhost") << "localhost" << K::Address << "http://localhost";
        QTest::newRow("localhost with port")
            << "LOCALHOST:3000" << K::Address << "http://LOCALHOST:3000";
        QTest::newRow("IPv6") << "[::1]:8080/" << K::Address << "http://[::1]:8080/";
        QTest::newRow("machine with port")
            << "intranet:8080" << K::Address << "http://intranet:8080";
        QTest::newRow("control characters removed")
            << QString("deb\x01ian.org\x7f") << K::Address << "https://debian.org";
        QTest::newRow("address with spaces") << "debian .org" << K::Search << q + "debian%20.org";
        QTest::newRow("one word") << "debian" << K::Search << q + "debian";
        QTest::newRow("words encoded")
            << "a&b=c ção/?#%" << K::Search << q + "a%26b%3Dc%20%C3%A7%C3%A3o%2F%3F%23%25";
        QTest::newRow("number is no host") << "3.14" << K::Search << q + "3.14";
        QTest::newRow("bad IPv4 is no host") << "256.1.1.1" << K::Search << q + "256.1.1.1";
        QTest::newRow("port out of range")
            << "localhost:70000" << K::Search << q + "localhost%3A70000";
        QTest::newRow("colon and words")
            << "nota: comprar pão" << K::Search << q + "nota%3A%20comprar%20p%C3%A3o";
        QTest::newRow("e-mail address")
            << "ana@exemplo.com" << K::Search << q + "ana%40exemplo.com";
        QTest::newRow("line break is a blank") << "a\nb" << K::Search << q + "a%20b";
        QTest::newRow("javascript") << "javascript:alert(1)" << K::Refused << "";
        QTest::newRow("JavaScript behind blanks and controls")
            << QString(" \x01\t JaVaScRiPt:void(0)") << K::Refused << "";
        QTest::newRow("javascript behind a bidi override")
            << QString::fromUtf16(u"\u202Ejavascript:x") << K::Refused << "";
        QTest::newRow("split javascript is only words")
            << "java script:x" << K::Search << q + "java%20script%3Ax";
        QTest::newRow("engine debug address")
            << " chrome://inducebrowsercrashforrealz" << K::Internal
            << "chrome://inducebrowsercrashforrealz";
        QTest::newRow("engine address in capitals")
            << "CHROME://GpuHang/" << K::Internal << "CHROME://GpuHang/";
        QTest::newRow("engine's untrusted pages")
            << "chrome-untrusted://crash" << K::Internal << "chrome-untrusted://crash";
        QTest::newRow("program's own file")
            << "qrc:///sql/QV_Links_schema.sql" << K::Internal << "qrc:///sql/QV_Links_schema.sql";
        QTest::newRow("about page other than blank")
            << "about:crash" << K::Internal << "about:crash";
        QTest::newRow("view-source of an engine address")
            << "view-source: VIEW-SOURCE:chrome://hang" << K::Internal
            << "view-source: VIEW-SOURCE:chrome://hang";
        QTest::newRow("view-source of a page")
            << "view-source:https://a/" << K::Address << "view-source:https://a/";
    }

    void typedTextIsAddressSearchOrRefused()
    {
        QFETCH(QString, typed);
        QFETCH(TypedText::Kind, kind);
        QFETCH(QString, url);
        const TypedText::Result r = TypedText::classify(typed, QStringLiteral("https://s/?q=%s"));
        QCOMPARE(r.kind, kind);
        QCOMPARE(r.url, url);
    }

    void typedTextOfAnyLength()
    {
        const QString words = QString(50000, u'a') + u' ' + QString(49999, u'b');
        const TypedText::Result r = TypedText::classify(words, QStringLiteral("http://s/%s"));
        QCOMPARE(r.kind, TypedText::Kind::Search);
        QCOMPARE(r.url.size(), qsizetype(100000 + 2 + 9));
        QCOMPARE(TypedText::classify(QString(100000, u'a') + QStringLiteral(".com"), {}).kind,
                 TypedText::Kind::Search); // a label is at most 63 letters
    }

    // A page's text as a row, a notice or a stored title shows it.
    void pageTextIsOneLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("breaks of every kind as spaces") << "a\r\nb\tc\vd\fe\u0085f\u2028g\u2029h"
                                                        << "a  b c d e f g h";
        QTest::newRow("an override no longer turns fdp.exe round") << "qvt4 \u202Eexe.pdf"
                                                                   << "qvt4 exe.pdf";
        QTest::newRow("embeddings and isolates, opened and closed")
            << "\u202Aa\u202Bb\u202Cc\u202Dd\u2066e\u2067f\u2068g\u2069h"
            << "abcdefgh";
        QTest::newRow("other controls go") << "\u0001\u001B[31mx\u007F\u009Byz"
                                           << "[31mxyz";
        QTest::newRow("letters of any script, marks and joined emoji stay")
            << "Ação — עברית \u200E日本 👩\u200D💻"
            << "Ação — עברית \u200E日本 👩\u200D💻";
        QTest::newRow("nothing") << ""
                                 << "";
    }

    void pageTextIsOneLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(DisplayText::oneLine(text), shown);
    }

    void thirdPartyCookiesNeedTheSitesAllowance_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("thirdParty");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("the page's own") << "https://loja.example/" << false << true << true;
        QTest::newRow("a third party's") << "https://loja.example/" << true << true << false;
        QTest::newRow("on an allowed site") << "https://Mail.Example/c" << true << true << true;
        QTest::newRow("with no page to judge by") << "" << true << true << false;
        QTest::newRow("refusal turned off") << "https://loja.example/" << true << false << true;
    }
    void thirdPartyCookiesNeedTheSitesAllowance()
    {
        QFETCH(QString, page);
        QFETCH(bool, thirdParty);
        QFETCH(bool, refuse);
        TrackingProtection::Settings settings;
        settings.refuseThirdPartyCookies = refuse;
        const QSet<QString> allowed{QStringLiteral("mail.example")};
        QTEST(TrackingProtection::acceptCookie(QUrl(page), thirdParty, settings, allowed),
              "accepted");
    }

    // "quorvane ARG...": DIR stands for a folder holding "página 1.html", "a#b%.html" and
    // "notas.txt", the working folder.
    void startArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QStringList>("notices");

        const QString dirUrl = QStringLiteral("file://DIR/");
        const QString longUrl = QStringLiteral("https://a.org/") + QString(kMaxAddressLength, u'x');
        const QString atLimit = longUrl.left(kMaxAddressLength);
        QStringList many;
        for (int i = 0; i < StartAddresses::kMaxAddresses + 2; ++i)
            many << QStringLiteral("https://a.org/%1").arg(i);

        QTest::newRow("none") << QStringList() << QStringList() << QStringList();
        QTest::newRow("addresses as typed")
            << QStringList{"HTTPS://Debian.org/A b", "about:blank", " ftp://f.org/x ", "debian.org",
                           "localhost:8080"}
            << QStringList{"HTTPS://Debian.org/A b", "about:blank", "ftp://f.org/x",
                           "https://debian.org", "http://localhost:8080"}
            << QStringList();
        QTest::newRow("files relative, absolute, a folder; encoded")
            << QStringList{"página 1.html", "DIR/a#b%.html", "DIR", "./sub/../notas.txt"}
            << QStringList{dirUrl + "p%C3%A1gina%201.html", dirUrl + "a%23b%25.html", "file://DIR",
                           dirUrl + "notas.txt"}
            << QStringList();
        QTest::newRow("a missing file is an address only when it looks like a host")
            << QStringList{"outra.txt", "nada", "DIR/nada.html"} << QStringList{"https://outra.txt"}
            << QStringList{"2 endereços recusados: \"nada\" (nem endereço nem arquivo), "
                           "\"DIR/nada.html\" (nem endereço nem arquivo)."};
        QTest::newRow("a device is no file") << QStringList{"/dev/zero"} << QStringList()
                                             << QStringList{"Endereço recusado: \"/dev/zero\" "
                                                            "(nem endereço nem arquivo)."};
        QTest::newRow("javascript")
            << QStringList{"javascript:alert(1)"} << QStringList()
            << QStringList{
                   "Endereço recusado: \"javascript:alert(1)\" (javascript: não é aberto)."};
        QTest::newRow("internal, options, empty, controls")
            << QStringList{"chrome://crash", "--foo", "", "-", QString("https://a.org/\x01x")}
            << QStringList()
            << QStringList{"5 endereços recusados: \"chrome://crash\" (endereço interno do "
                           "navegador), \"--foo\" (opção desconhecida), \"\" (vazio), \"-\" "
                           "(opção desconhecida), \"https://a.org/x\" (caracteres de controle)."};
        QTest::newRow("the longest address, and one longer, named short")
            << QStringList{atLimit, longUrl} << QStringList{atLimit}
            << QStringList{"Endereço recusado: \"https://a.org/" + QString(57 - 14, u'x') +
                           "...\" (mais de 65536 caracteres)."};
        QTest::newRow("five refused named, the rest counted")
            << QStringList(7, "x") << QStringList()
            << QStringList{"7 endereços recusados: \"x\" (nem endereço nem arquivo), \"x\" (nem "
                           "endereço nem arquivo), \"x\" (nem endereço nem arquivo), \"x\" (nem "
                           "endereço nem arquivo), \"x\" (nem endereço nem arquivo) e mais 2."};
        QTest::newRow("fifty taken, the rest left out")
            << many << many.mid(0, 50)
            << QStringList{"Só 50 endereços são abertos de uma vez; 2 ficaram de fora."};
        QTest::newRow("the refused do not count")
            << QStringList{"x"} + many.mid(0, 50) << many.mid(0, 50)
            << QStringList{"Endereço recusado: \"x\" (nem endereço nem arquivo)."};
    }

    void startArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, addresses);
        QFETCH(QStringList, notices);
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && QDir(dir.path()).mkdir(QStringLiteral("sub")));
        for (const char* name : {"página 1.html", "a#b%.html", "notas.txt"}) {
            QFile f(dir.filePath(QString::fromUtf8(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString encoded = QUrl::fromLocalFile(dir.path()).path(QUrl::FullyEncoded);
        const auto in = [&](QStringList list, const QString& path) {
            return list.replaceInStrings(QStringLiteral("DIR"), path);
        };
        const StartAddresses::Result r =
            StartAddresses::fromArguments(in(arguments, dir.path()), dir.path());
        QCOMPARE(r.addresses, in(addresses, encoded));
        QCOMPARE(r.notices, in(notices, dir.path()));
        // What a later start hands over is taken whole by the running program.
        const StartAddresses::Result again = StartAddresses::fromHandedOver(r.addresses, r.notices);
        QCOMPARE(again.addresses, r.addresses);
        QCOMPARE(again.notices, r.notices);
    }

    // The running program checks a later start's addresses again: only what a start could give.
    void handedOverAreCheckedAgain()
    {
        QStringList addresses{"javascript:x", "file:///tmp/a.html", "/etc/passwd", "chrome://hang"};
        for (int i = 0; i < 60; ++i)
            addresses << QStringLiteral("https://a.org/%1").arg(i);
        const StartAddresses::Result r = StartAddresses::fromHandedOver(
            addresses, {"um\naviso", QString(5000, u'a'), "terceiro"});
        QCOMPARE(r.addresses.size(), StartAddresses::kMaxAddresses);
        QCOMPARE(r.addresses.front(), QStringLiteral("file:///tmp/a.html"));
        QCOMPARE(r.addresses.back(), QStringLiteral("https://a.org/48"));
        QCOMPARE(r.notices,
                 (QStringList{"um aviso", QString(997, u'a') + "...",
                              "3 endereços recusados: \"javascript:x\" (javascript: não é aberto), "
                              "\"/etc/passwd\" (nem endereço nem arquivo), \"chrome://hang\" "
                              "(endereço interno do navegador).",
                              "Só 50 endereços são abertos de uma vez; 11 ficaram de fora."}));
    }

    void searchTemplates()
    {
        QVERIFY(TypedText::isSearchTemplate(QString::fromUtf16(TypedText::kDefaultSearchTemplate)));
        QVERIFY(TypedText::isSearchTemplate(QStringLiteral("HTTP://127.0.0.1:1/busca?q=%s")));
        QVERIFY(!TypedText::isSearchTemplate(QStringLiteral("https://s/?q=")));
        QVERIFY(!TypedText::isSearchTemplate(QStringLiteral("javascript:%s")));
        QVERIFY(!TypedText::isSearchTemplate(QStringLiteral("file:///tmp/%s")));
    }
};

QTEST_GUILESS_MAIN(tst_urls)
#include "tst_urls.moc"
