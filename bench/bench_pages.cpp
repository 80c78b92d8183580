// Several pages in the browser: how long Ctrl+Tab takes until the next page's pixels are on
// screen (20 pages, each a colour of its own, medians of the rounds, pages active and frozen);
// the whole process tree's memory with 1, 5 and 20 pages, active, with the pages behind frozen
// and discarded; and the tree's idle CPU and the main thread's wake-ups per second, one page
// against 20 with 19 frozen. The pages behind run a timer each, as many real pages do. The five
// minutes a page waits behind before it freezes are skipped (ageBackgroundPages).
// Run: bench_pages [rounds] [idle-seconds]   (under Xvfb, or QT_QPA_PLATFORM=offscreen)
#include "app/AppSetup.h"
#include "engine/WebEngineBrowser.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <unistd.h>

namespace {
QColor colourOf(int i) { return QColor::fromHsv((i * 37) % 360, 255, 230); }

// The first page is still; the others run a timer.
QString page(int i)
{
    const QString script = i ? QStringLiteral("<p id=t></p><script>let n=0;"
                                              "setInterval(()=>{t.textContent=++n},250)</script>")
                             : QString();
    return QStringLiteral("data:text/html;charset=utf-8,<body style='margin:0;background:%1'>%2")
        .arg(colourOf(i).name().replace(u'#', QLatin1String("%23")), script);
}

std::vector<int> tree(int root)
{
    std::vector<int> pids{root};
    for (size_t k = 0; k < pids.size(); ++k)
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            if (!entry.toInt() || !stat.open(QIODevice::ReadOnly))
                continue;
            const QList<QByteArray> f = stat.readAll().split(')').value(1).split(' ');
            if (f.value(2).toInt() == pids[k])
                pids.push_back(entry.toInt());
        }
    return pids;
}

qint64 sumOver(const char* file, const QByteArray& field, bool tasks)
{
    qint64 sum = 0;
    for (int pid : tree(getpid())) {
        QStringList paths{QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file))};
        if (tasks) {
            paths.clear();
            for (const QString& t : QDir(QStringLiteral("/proc/%1/task").arg(pid))
                                        .entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                paths.append(
                    QStringLiteral("/proc/%1/task/%2/%3").arg(pid).arg(t, QLatin1String(file)));
        }
        for (const QString& path : paths) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QByteArray all = f.readAll();
            if (field.isEmpty()) { // schedstat: the first number
                sum += all.split(' ').value(0).toLongLong();
                continue;
            }
            for (const QByteArray& line : all.split('\n'))
                if (line.startsWith(field))
                    sum += line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return sum;
}

int pssMiB() { return int(sumOver("smaps_rollup", "Pss:", false) / 1024); }

qint64 mainSwitches()
{
    QFile f(QStringLiteral("/proc/self/task/%1/status").arg(getpid()));
    f.open(QIODevice::ReadOnly);
    qint64 n = 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.contains("ctxt_switches:"))
            n += line.split(':').value(1).trimmed().toLongLong();
    return n;
}

// CPU percent of the tree and wake-ups per second of the main thread, over `seconds`.
std::pair<double, double> idle(int seconds)
{
    const qint64 c0 = sumOver("schedstat", {}, true);
    const qint64 s0 = mainSwitches();
    QElapsedTimer t;
    t.start();
    // Waiting in an event loop of its own: qWait would wake the thread every few milliseconds.
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double ns = double(t.nsecsElapsed());
    return {100.0 * double(sumOver("schedstat", {}, true) - c0) / ns,
            double(mainSwitches() - s0) * 1e9 / ns};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void openPages(WebEngineBrowser& browser, int from, int to)
{
    for (int i = from; i < to; ++i)
        browser.openPage(page(i), BrowserControl::Placement::Behind);
    QTest::qWait(3000);
}

// Ctrl+Tab round the pages until each one's colour is in the view's pixels.
std::vector<double> switches(WebEngineBrowser& browser, int rounds)
{
    std::vector<double> ms;
    for (int r = 0; r < rounds; ++r) {
        const int next = (browser.shownIndex() + 1) % browser.pageCount();
        QElapsedTimer t;
        t.start();
        browser.showNeighbour(1);
        const QColor want = colourOf(next);
        while (t.elapsed() < 5000) {
            QApplication::processEvents();
            const QImage shot = browser.view()->grab().toImage();
            const QColor got = shot.pixelColor(shot.width() / 2, shot.height() / 2);
            if (std::abs(got.hue() - want.hue()) <= 2 && got.value() > 150)
                break;
        }
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}
} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    AppSetup::beforeApplication();
    QApplication app(argc, argv);
    AppSetup::afterApplication();
    const int rounds = argc > 1 ? atoi(argv[1]) : 40;
    const int seconds = argc > 2 ? atoi(argv[2]) : 10;

    WebEngineBrowser browser(nullptr);
    browser.resize(260, 380);
    browser.show();
    browser.Navigate(page(0));
    QTest::qWait(3000);
    const int pss1 = pssMiB();
    const auto [cpu1, wake1] = idle(seconds);
    std::printf("1 page: PSS %d MiB, idle CPU %.3f %%, %.1f wake-ups/s\n", pss1, cpu1, wake1);

    openPages(browser, 1, 5);
    const int pss5 = pssMiB();
    browser.ageBackgroundPages(WebEngineBrowser::kFreezeAfter);
    QTest::qWait(2000);
    std::printf("5 pages: PSS %d MiB active, %d MiB with 4 frozen\n", pss5, pssMiB());

    openPages(browser, 5, 20);
    browser.showPage(0);
    QTest::qWait(1000);
    const int pss20 = pssMiB();
    const auto [cpuActive, wakeActive] = idle(seconds);
    browser.ageBackgroundPages(WebEngineBrowser::kFreezeAfter);
    QTest::qWait(2000);
    const int pss20Frozen = pssMiB();
    const auto [cpu20, wake20] = idle(seconds);
    std::printf("20 pages: PSS %d MiB active, %d MiB with 19 frozen\n", pss20, pss20Frozen);
    std::printf("20 pages, none frozen: idle CPU %.3f %%, %.1f wake-ups/s\n", cpuActive,
                wakeActive);
    std::printf("20 pages, 19 frozen: idle CPU %.3f %%, %.1f wake-ups/s (one page: %.3f %%, "
                "%.1f/s)\n",
                cpu20, wake20, cpu1, wake1);
    browser.ageBackgroundPages(WebEngineBrowser::kDiscardAfter);
    QTest::qWait(3000);
    std::printf("20 pages: PSS %d MiB with 19 discarded\n", pssMiB());
    const double discarded = median(switches(browser, std::min(rounds, 19)));
    const double active = median(switches(browser, rounds));
    std::vector<double> frozen;
    for (int r = 0; r < rounds; ++r) {
        browser.ageBackgroundPages(WebEngineBrowser::kFreezeAfter);
        const std::vector<double> one = switches(browser, 1);
        frozen.push_back(one[0]);
    }
    std::printf(
        "Ctrl+Tab to painted, 20 pages: median %.1f ms active, %.1f ms frozen, %.1f ms discarded "
        "(%d rounds)\n",
        active, median(frozen), discarded, rounds);
    return 0;
}
