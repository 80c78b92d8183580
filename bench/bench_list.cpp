// How long the administration window takes from starting a refill to its list painted, against
// the sqlite3 tool running the same SELECT on the same file and printing every row; rounds
// interleaved, medians and the ratio printed.
// Run: bench_list [rounds]   (QT_QPA_PLATFORM=offscreen works)
#include "BenchData.h"
#include "Parts.h"
#include "TestInstall.h"

#include "app/AppSetup.h"
#include "core/Paths.h"
#include "forms/Forms.h"
#include "sites/Form2_Lista.h"
#include "storage/Database.h"
#include "storage/SiteStore.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// A database of the given size, filled once in one transaction.
QString database(const TestInstall& inst, int rows)
{
    const QString path = inst.dir() + QStringLiteral("/BD/sites_%1.mdb").arg(rows);
    QRandomGenerator rng(rows);
    QString sql = SiteStore::schemaSql() + QStringLiteral("BEGIN;");
    for (int i = 0; i < rows; ++i)
        sql += QStringLiteral("INSERT INTO Tabela1 (titulo1,url) VALUES ('%1', "
                              "'http://www.site%2.com.br/pagina.htm');")
                   .arg(BenchData::title(rng))
                   .arg(i);
    TestInstall::exec(path, sql + QStringLiteral("COMMIT;"));
    return path;
}

double sqliteToolMs(const QString& path)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("sqlite3"), {path, SiteStore::listAllSql()});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qFatal("sqlite3 failed on %s", qPrintable(path));
    return t.nsecsElapsed() / 1e6;
}

// As the window does after a save: open, refill, close; then until the list is painted.
double refillMs(Form2_Lista& f, const QString& path, int rows)
{
    QElapsedTimer t;
    t.start();
    QV_Variaveis::LinksDbPath = path;
    const int n = f.refillList();
    // The list as a view (whichever widget shows it), laid out and painted.
    auto* list = part<QAbstractItemView>(f, "lstSites");
    QCoreApplication::processEvents(); // the view's delayed layout
    list->viewport()->repaint();
    const double ms = t.nsecsElapsed() / 1e6;
    if (n != rows || list->model()->rowCount() != rows)
        qFatal("%d rows read, %d expected", n, rows);
    return ms;
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
    Form2_Lista& f = Forms::get<Form2_Lista>();
    f.show();
    if (!QTest::qWaitForWindowExposed(&f))
        qFatal("the window was never shown");
    std::printf("%8s %14s %16s %7s\n", "rows", "sqlite3 ms", "refill+paint ms", "ratio");
    for (int rows : {1000, 32767, 100000}) {
        const QString path = database(inst, rows);
        std::vector<double> tool, ours;
        for (int r = 0; r < rounds; ++r) {
            tool.push_back(sqliteToolMs(path));
            ours.push_back(refillMs(f, path, rows));
        }
        const double t = BenchData::median(tool), o = BenchData::median(ours);
        std::printf("%8d %14.1f %16.1f %6.2fx\n", rows, t, o, o / t);
        std::fflush(stdout);
    }
    return 0;
}
