// Bookmark files through the administration window: import of a 10,000-link export into a list
// of 32,767 sites until the list is refilled, export of 100,000 sites until the file is whole,
// and the longest stretch the window's thread went without handling events meanwhile.
// Run: bench_bookmarks [rounds]   (QT_QPA_PLATFORM=offscreen works)
#include "Parts.h"
#include "TestInstall.h"

#include "app/AppSetup.h"
#include "core/QvError.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/ListBox.h"
#include "sites/BookmarkTransfer.h"
#include "sites/Form2_Lista.h"
#include "storage/BookmarkFile.h"
#include "storage/Database.h"
#include "storage/SiteStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void fill(const QString& path, int rows)
{
    TestInstall::exec(path, "delete from Tabela1");
    QString sql = QStringLiteral("BEGIN;");
    for (int i = 0; i < rows; ++i)
        sql += QStringLiteral("INSERT INTO Tabela1 (titulo1,url) VALUES ('Site número %1 de "
                              "São Paulo', 'http://www.site%1.com.br/pagina.htm');")
                   .arg(i);
    TestInstall::exec(path, sql + QStringLiteral("COMMIT;"));
}

// An export as Chromium writes one: the links in two folders, icons as data: URIs.
QString exportFile(const QString& dir, int links)
{
    QByteArray html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
                      "CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n"
                      "<H1>Bookmarks</H1>\n<DL><p>\n";
    for (int i = 0; i < links; ++i) {
        if (i % 5000 == 0)
            html += (i ? "</DL><p>\n" : "") + QByteArray("<DT><H3>Pasta</H3>\n<DL><p>\n");
        html += "<DT><A HREF=\"https://importado" + QByteArray::number(i) +
                ".example.com.br/?a=1&amp;b=2\" ADD_DATE=\"1700000000\" ICON=\"data:image/png;"
                "base64,iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAYAAAAf8/9hAAAA\">Favorito &quot;" +
                QByteArray::number(i) + "&quot; de Notícias</A>\n";
    }
    html += "</DL><p>\n</DL><p>\n";
    const QString path = dir + QStringLiteral("/favoritos.html");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(html) != html.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The longest time between two ticks of a 1 ms timer on the window's thread.
class FreezeMeter : public QObject {
public:
    FreezeMeter()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            m_longest = std::max(m_longest, m_since.nsecsElapsed() / 1e6);
            m_since.restart();
        });
        m_since.start();
        m_timer.start();
    }
    double longestMs() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    double m_longest = 0;
};

struct Round {
    double ms;
    double freezeMs;
};

Round importRound(Form2_Lista& f, const QString& file, const QString& db, const QString& seed)
{
    QFile::remove(db);
    QFile::copy(seed, db);
    QElapsedTimer t;
    double ms = 0;
    // After the window's own handler: the list is refilled by then.
    auto c = QObject::connect(&SiteStore::instance(), &SiteStore::sitesImported, &f,
                              [&] { ms = t.nsecsElapsed() / 1e6; });
    bool done = false;
    auto d = QObject::connect(&f.bookmarkTransfer(), &BookmarkTransfer::finished, &f,
                              [&] { done = true; });
    FreezeMeter meter;
    t.start();
    f.bookmarkTransfer().importFile(file);
    if (!QTest::qWaitFor([&] { return done; }, 60000) ||
        part<ListBox>(f, "lstSites")->count() != 42767)
        qFatal("the import did not end with 42,767 rows (%d)",
               part<ListBox>(f, "lstSites")->count());
    QObject::disconnect(c);
    QObject::disconnect(d);
    return {ms, meter.longestMs()};
}

Round exportRound(Form2_Lista& f, const QString& db, const QString& out)
{
    QFile::remove(out);
    QElapsedTimer t;
    t.start();
    try {
        BookmarkFile::save(out, SiteStore::sites(db, SiteStore::Addresses::AsStored), 0);
    } catch (const QvError& e) {
        qFatal("%s", qPrintable(e.message()));
    }
    const double ms = t.nsecsElapsed() / 1e6;
    bool done = false;
    auto d = QObject::connect(&f.bookmarkTransfer(), &BookmarkTransfer::finished, &f,
                              [&] { done = true; });
    FreezeMeter meter;
    f.bookmarkTransfer().exportTo(out);
    if (!QTest::qWaitFor([&] { return done; }, 60000))
        qFatal("the export did not end");
    QObject::disconnect(d);
    return {ms, meter.longestMs()};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void print(const char* what, const std::vector<Round>& rounds)
{
    std::vector<double> ms, freeze;
    for (const Round& r : rounds) {
        ms.push_back(r.ms);
        freeze.push_back(r.freezeMs);
    }
    std::printf("%-46s median %7.1f ms (max %7.1f)   longest freeze median %6.1f ms (max %6.1f)\n",
                what, median(ms), *std::max_element(ms.begin(), ms.end()), median(freeze),
                *std::max_element(freeze.begin(), freeze.end()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    AppSetup::beforeApplication();
    QApplication app(argc, argv);
    AppSetup::afterApplication();
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    TestInstall inst;
    Database::setObserver({});
    FormTimer::setSpeedFactorForTesting(50); // the notices close quickly
    const QString seed = inst.dir() + QStringLiteral("/seed.mdb");
    fill(inst.linksDb(), 32767);
    QFile::copy(inst.linksDb(), seed);
    const QString file = exportFile(inst.dir(), 10000);
    Form2_Lista& f = Forms::get<Form2_Lista>();
    f.show();
    if (!QTest::qWaitForWindowExposed(&f))
        qFatal("the window was never shown");
    std::vector<Round> imports, exports;
    for (int r = 0; r < rounds; ++r)
        imports.push_back(importRound(f, file, inst.linksDb(), seed));
    print("import 10,000 links into 32,767 sites + refill", imports);
    fill(inst.linksDb(), 100000);
    for (int r = 0; r < rounds; ++r)
        exports.push_back(exportRound(f, inst.linksDb(), inst.dir() + QStringLiteral("/out.html")));
    print("export of 100,000 sites (read + write + rename)", exports);
    return 0;
}
