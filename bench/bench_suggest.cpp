// The address window's suggestions with 100,000 history rows and 32,767 saved sites: the time
// from each key typed to the list painted (median and 99th percentile), and the index's load.
// Then the history's recording: the window's cost of each of 10,000 visits in a row, the time
// until all are stored, the file's integrity and the wake-ups of the idle program.
// Run: QT_QPA_PLATFORM=offscreen bench_suggest
#include "BenchData.h"
#include "Parts.h"
#include "TestInstall.h"

#include "app/AppSetup.h"
#include "core/Paths.h"
#include "forms/Forms.h"
#include "navigation/GotoForm.h"
#include "navigation/SuggestionList.h"
#include "storage/Database.h"
#include "storage/HistoryStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>

namespace {

void fill(const TestInstall& inst, int sites, int pages)
{
    QRandomGenerator rng(7);
    QString sql = QStringLiteral("BEGIN;");
    for (int i = 0; i < sites; ++i)
        sql += QStringLiteral("INSERT INTO Tabela1 (titulo1,url) VALUES ('%1', "
                              "'http://www.site%2.com.br/pagina.htm');")
                   .arg(BenchData::title(rng))
                   .arg(i);
    TestInstall::exec(inst.linksDb(), sql + QStringLiteral("COMMIT;"));
    sql = QStringLiteral("CREATE TABLE Historico (id INTEGER PRIMARY KEY, url TEXT UNIQUE, titulo "
                         "TEXT, visitas INTEGER, ultima INTEGER); BEGIN;");
    for (int i = 0; i < pages; ++i)
        sql += QStringLiteral("INSERT INTO Historico (url,titulo,visitas,ultima) VALUES "
                              "('https://www.exemplo%1.com.br/artigos/%2', '%3', %4, %5);")
                   .arg(rng.bounded(5000))
                   .arg(i)
                   .arg(BenchData::title(rng))
                   .arg(1 + rng.bounded(rng.bounded(2) ? 3 : 200))
                   .arg(1700000000 + rng.bounded(50000000));
    TestInstall::exec(QV_Variaveis::HistoryDbPath, sql + QStringLiteral("COMMIT;"));
}

// One key into the text box, until the list has painted the new suggestions.
double keyToPaintMs(GotoForm& form, QChar key)
{
    QSignalSpy painted(part<SuggestionList>(form, "lstSugestoes"), &SuggestionList::painted);
    QElapsedTimer t;
    t.start();
    if (key == u'\b')
        QTest::keyClick(part<QLineEdit>(form, "txtEndereco"), Qt::Key_Backspace);
    else {
        // As a keyboard sends a letter, accented ones too.
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
        QCoreApplication::sendEvent(part<QLineEdit>(form, "txtEndereco"), &press);
    }
    QElapsedTimer limit;
    limit.start();
    while (painted.isEmpty()) {
        if (limit.elapsed() > 5000)
            qFatal("the list was not painted after a key");
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return double(t.nsecsElapsed()) / 1e6;
}

void suggestions()
{
    GotoForm& form = GotoForm::open();
    QElapsedTimer load;
    load.start();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the window was never shown");
    if (!form.suggestionsReady() && !QSignalSpy(&form, &GotoForm::suggestionsLoaded).wait(60000))
        qFatal("no suggestions");
    std::printf("index loaded (off the window's thread) in %.0f ms\n",
                double(load.nsecsElapsed()) / 1e6);
    // What people type: words of the titles, addresses, a word found nowhere, corrections.
    // Each from an empty box; "\b" is a Backspace.
    const QStringList typing{"noticias sao paulo\b\b\b\b\bbrasil",
                             "exemplo42",
                             "radio ao vivo",
                             "zzqx",
                             "www.site1234",
                             "cam\b\b\bçâm"};
    std::vector<double> ms;
    for (int round = 0; round < 5; ++round) {
        for (const QString& text : typing) {
            part<QLineEdit>(form, "txtEndereco")->clear();
            QCoreApplication::processEvents();
            for (QChar c : text)
                ms.push_back(keyToPaintMs(form, c));
        }
    }
    std::printf("suggestions, key to list painted: %zu keys, median %.2f ms, p99 %.2f ms, "
                "max %.2f ms\n",
                ms.size(), BenchData::median(ms), BenchData::percentile(ms, 0.99),
                *std::max_element(ms.begin(), ms.end()));
}

long wakeUps()
{
    long total = 0;
    for (const QString& task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs)) {
        QFile f(QStringLiteral("/proc/self/task/%1/status").arg(task));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : f.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                total += line.mid(24).trimmed().toLong();
        }
    }
    return total;
}

long idleWakeUps()
{
    const long before = wakeUps();
    QTest::qWait(2000);
    return wakeUps() - before;
}

void recording(const TestInstall& inst)
{
    const QString path = inst.dir() + QStringLiteral("/BD/bench_history.mdb");
    QElapsedTimer opening;
    opening.start();
    const auto store = HistoryStore::create(path); // on the window's thread, at start-up
    const double created = double(opening.nsecsElapsed()) / 1e6;
    store->flush();
    const long idleBefore = idleWakeUps();
    std::vector<double> ms;
    QElapsedTimer all;
    all.start();
    for (int i = 0; i < 10000; ++i) {
        QElapsedTimer t;
        t.start();
        store->recordVisit(QStringLiteral("https://www.exemplo.com.br/p/%1").arg(i % 7000),
                           QStringLiteral("Página %1").arg(i));
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double queued = double(all.nsecsElapsed()) / 1e6;
    store->flush();
    const double stored = double(all.nsecsElapsed()) / 1e6;
    const long idleAfter = idleWakeUps();
    const QStringList check = TestInstall::query(path, QStringLiteral("PRAGMA integrity_check"));
    const QStringList sum =
        TestInstall::query(path, QStringLiteral("SELECT sum(visitas) FROM Historico"));
    std::printf("recording: 10000 visits, window's cost per visit median %.4f ms, p99 %.4f ms; "
                "queued in %.0f ms, all stored after %.0f ms; integrity_check %s, %s visits "
                "stored\n",
                BenchData::median(ms), BenchData::percentile(ms, 0.99), queued, stored,
                qPrintable(check.join(u',')), qPrintable(sum.join(u',')));
    std::printf("idle wake-ups of the whole program in 2 s: %ld before recording, %ld after\n",
                idleBefore, idleAfter);
    opening.restart();
    HistoryStore::create(path);
    std::printf("opening the history on the window's thread: %.1f ms new, %.1f ms with %s rows\n",
                created, double(opening.nsecsElapsed()) / 1e6,
                qPrintable(TestInstall::query(path, QStringLiteral("SELECT count(*) FROM "
                                                                   "Historico"))
                               .join(u',')));
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    AppSetup::beforeApplication();
    QApplication app(argc, argv);
    AppSetup::afterApplication();
    TestInstall inst;
    Database::setObserver({});
    fill(inst, 32767, 100000);
    suggestions();
    Forms::resetForTesting();
    recording(inst);
    return 0;
}
