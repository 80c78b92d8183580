// Crash-safety driver. "run DIR" performs the stores' real operations (insert, update, delete of
// several rows, an import of several links in one transaction, home page, position,
// start-minimized, a few history visits queued and flushed, pages opened, closed, changed and
// shown in the session, each change written and the last flushed) in a loop on DIR/BD, writing to
// DIR/ops.log a "B" line before each operation and an "A" line once it returned. "check DIR" is
// run after a kill -9: the files pass integrity_check, and their rows are exactly the last checked
// state with every acknowledged operation applied, plus at most the one that was under way (of
// queued visits, the first ones; of session writes, one of the sets written, whole); it then takes
// the files as the new checked state. "init DIR" takes the first state.
#include "core/DisplayText.h"
#include "core/Paths.h"
#include "storage/ConfigStore.h"
#include "storage/HistoryStore.h"
#include "storage/SessionStore.h"
#include "storage/SiteStore.h"

#include <QDateTime>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

struct State {
    QMap<qint64, QStringList> sites;    // id -> stored title, url
    QStringList config;                 // stored homeTitulo, homeURL, left, top, minimizado
    QMap<QString, QStringList> history; // url -> titulo, visitas, ultima
    QStringList session; // mostrada, then fechada, endereco, titulo, hex(historico) of each page
    bool operator==(const State&) const = default;
};

QString hex(const QString& s) { return QString::fromLatin1(s.toUtf8().toHex()); }
QString unhex(const QString& s) { return QString::fromUtf8(QByteArray::fromHex(s.toLatin1())); }
// What a typed text becomes in the file.
QString stored(QString s) { return s.replace("\r\n", "\\n").replace("\t", "\\t"); }

QStringList column(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* st = nullptr;
    QStringList out;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                         sqlite3_column_bytes(st, i));
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

State readFiles()
{
    State s;
    const QStringList rows =
        column(QV_Variaveis::LinksDbPath, "select id,titulo1,url from Tabela1");
    for (qsizetype i = 0; i + 2 < rows.size(); i += 3)
        s.sites[rows[i].toLongLong()] = {rows[i + 1], rows[i + 2]};
    s.config = column(QV_Variaveis::ConfigDbPath,
                      "select homeTitulo,homeURL,left,top,minimizado from Tabela1 where id=1");
    if (QFile::exists(QV_Variaveis::HistoryDbPath)) {
        const QStringList visits =
            column(QV_Variaveis::HistoryDbPath, "select url,titulo,visitas,ultima from Historico");
        for (qsizetype i = 0; i + 3 < visits.size(); i += 4)
            s.history[visits[i]] = {visits[i + 1], visits[i + 2], visits[i + 3]};
    }
    s.session = {"0"}; // a file not made yet holds no page
    const QString session = QV_Variaveis::SessionDbPath;
    if (QFile::exists(session) &&
        column(session, "select count(*) from sqlite_schema") != QStringList{"0"}) {
        s.session = column(session, "select mostrada from Sessao") +
                    column(session, "select fechada,endereco,titulo,hex(historico) from Paginas "
                                    "order by fechada,ordem");
    }
    return s;
}

// The rows of the session file that hold `session`, as readFiles reads them.
QStringList rowsOf(const Session& session)
{
    QStringList rows = {QString::number(session.shown)};
    for (const auto* pages : {&session.open, &session.closed}) {
        for (const PageState& p : *pages)
            rows << (pages == &session.open ? "0" : "1") << p.address << p.title
                 << QString::fromLatin1(p.history.toHex().toUpper());
    }
    return rows;
}

QString randomText()
{
    static const QStringList parts = {
        "a", "Z", "'",  "''", "\r\n", "\t", "\\n",          "á",   "ção",
        "😀", " ", "\"", "%",  ";",    "--", "http://x/?q=", "\\t", "\n"};
    auto* r = QRandomGenerator::global();
    QString s = QString::number(r->generate() % 100000);
    const int n = r->bounded(r->bounded(10) == 0 ? 3000 : 40);
    for (int i = 0; i < n; ++i)
        s += parts[r->bounded(int(parts.size()))];
    return s;
}

class Log {
public:
    explicit Log(const QString& path)
        : m_fd(::open(path.toUtf8().constData(), O_WRONLY | O_CREAT | O_APPEND, 0644))
    {
    }
    // One write per line; a kill can still cut a long one short (the check drops it).
    void line(const QString& text)
    {
        const QByteArray b = text.toUtf8() + '\n';
        if (::write(m_fd, b.constData(), size_t(b.size())) != b.size())
            std::abort();
    }

private:
    int m_fd;
};

// Visits of a few pages out of twenty, queued together: "url:title:when" each (texts in hex),
// by commas.
void historyVisits(Log& log)
{
    static const auto store = HistoryStore::create(QV_Variaveis::HistoryDbPath);
    static qint64 when = QDateTime::currentSecsSinceEpoch();
    auto* r = QRandomGenerator::global();
    QStringList visits;
    for (int i = 0, n = r->bounded(1, 30); i < n; ++i) {
        const QString url = QStringLiteral("https://p%1.example/").arg(r->bounded(20)) +
                            (r->bounded(4) ? QString() : randomText());
        const QString title = r->bounded(3) ? randomText() : QString();
        visits << hex(url) + ':' + hex(title) + ':' + QString::number(++when);
    }
    log.line("B V " + visits.join(','));
    for (const QString& v : visits) {
        const QStringList p = v.split(':');
        store->recordVisit(unhex(p[0]), unhex(p[1]), p[2].toLongLong());
    }
    store->flush();
    if (store->hasFailed())
        std::abort();
    log.line("A");
}

// One change of the pages, as the browser makes them.
void changePages(Session& s)
{
    auto* r = QRandomGenerator::global();
    const int open = int(s.open.size());
    const int change = r->bounded(open == 0 ? 1 : 5);
    if (change == 0 && open < 12) { // a new page, shown
        QByteArray history(r->bounded(r->bounded(10) == 0 ? 20000 : 300), Qt::Uninitialized);
        for (char& c : history)
            c = char(r->bounded(256));
        s.open.push_back({"https://" + randomText(), randomText(), history});
        s.shown = open;
    } else if (change <= 1) { // one closed: it joins the closed ones, the next one is shown
        const int i = r->bounded(open);
        s.closed.push_back(s.open[size_t(i)]);
        if (s.closed.size() > size_t(Session::kMaxClosed))
            s.closed.erase(s.closed.begin());
        s.open.erase(s.open.begin() + i);
        if (s.shown > i || s.shown >= int(s.open.size()))
            s.shown = std::max(s.shown - 1, 0);
    } else if (change == 2) {
        s.shown = r->bounded(open);
    } else if (change == 3) { // the page shown went elsewhere
        s.open[size_t(s.shown)].address = "https://" + randomText();
        s.open[size_t(s.shown)].title = randomText();
        s.open[size_t(s.shown)].history += QByteArray::number(r->generate());
    } else { // the program ended normally, and started again
        s.open.clear();
        s.shown = 0;
    }
}

// A few changes of the pages, each written as it is made (so several may be queued at once),
// then flushed: the hex of each set written, by commas.
void sessionChanges(Log& log)
{
    static const auto store = [] {
        QString notice;
        auto opened = SessionStore::open(QV_Variaveis::SessionDbPath, &notice);
        if (!notice.isEmpty()) // the file was always one the store wrote
            std::abort();
        return opened;
    }();
    static Session current = store->leftBehind();
    auto* r = QRandomGenerator::global();
    QList<Session> sets;
    for (int i = 0, n = r->bounded(1, 5); i < n; ++i) {
        changePages(current);
        sets.append(current);
    }
    QStringList line;
    for (const Session& set : sets)
        line << hex(rowsOf(set).join('\x1f'));
    log.line("B S " + line.join(','));
    for (const Session& set : sets) {
        if (set.open.empty())
            store->endNormally(set.closed);
        else
            store->write(set);
    }
    store->flush();
    if (store->hasFailed())
        std::abort();
    log.line("A");
}

void oneOperation(Log& log)
{
    auto* r = QRandomGenerator::global();
    const QString t = randomText(), u = randomText();
    const int op = r->bounded(9);
    if (op == 8)
        return sessionChanges(log);
    if (op == 6) { // addresses no other operation writes: none is skipped as already there
        std::vector<BookmarkFile::Link> links;
        QString line = "B M";
        const QString batch = QString::number(r->generate64());
        for (int i = 0, n = r->bounded(1, 30); i < n; ++i) {
            links.push_back({randomText(), "http://import/" + batch + '/' + QString::number(i)});
            line += ' ' + hex(links.back().title) + ' ' + hex(links.back().url);
        }
        log.line(line);
        QStringList ids;
        for (qint64 id : SiteStore::instance().importLinks(QV_Variaveis::LinksDbPath, links).ids)
            ids << QString::number(id);
        log.line("A " + ids.join(','));
        return;
    }
    if (op == 7)
        return historyVisits(log);
    if (op <= 1) { // inserts keep the list from running dry
        log.line("B I " + hex(t) + ' ' + hex(u));
        log.line("A " + QString::number(SiteStore::instance().insert(t, u)));
        return;
    }
    if (op == 2 || op == 3) {
        const QList<qint64> ids = readFiles().sites.keys();
        if (ids.isEmpty())
            return;
        QStringList pick;
        for (int i = 0, n = op == 2 ? 1 : r->bounded(1, 4); i < n; ++i)
            pick << QString::number(ids[r->bounded(int(ids.size()))]);
        pick.removeDuplicates();
        if (op == 2) {
            log.line("B U " + pick[0] + ' ' + hex(t) + ' ' + hex(u));
            SiteStore::instance().update(pick[0].toLongLong(), t, u);
        } else { // as the confirmation does: one open, one statement per row
            log.line("B D " + pick.join(','));
            QList<qint64> rows;
            for (const QString& id : pick)
                rows << id.toLongLong();
            SiteStore::instance().remove(rows);
        }
    } else if (op == 4) {
        log.line("B H " + hex(t) + ' ' + hex(u));
        ConfigStore::setHome(t, u);
    } else {
        const int x = r->bounded(-30000, 30000), y = r->bounded(-30000, 30000), f = r->bounded(2);
        log.line(QStringLiteral("B P %1 %2 %3").arg(x).arg(y).arg(f));
        ConfigStore::setPosition(x, y);
        ConfigStore::setStartMinimized(f == 1);
    }
    log.line("A");
}

// The states the files may be in after applying op (begun; acknowledged or not).
QList<State> after(const State& s, const QStringList& op, const QString& ack)
{
    State n = s;
    if (op[1] == "I") {
        if (ack.isEmpty()) { // the id was not learnt: any new id holding these texts
            const QStringList row = {stored(unhex(op[2])), stored(unhex(op[3]))};
            State files = readFiles();
            for (auto it = files.sites.begin(); it != files.sites.end(); ++it) {
                if (!s.sites.contains(it.key()) && it.value() == row) {
                    n.sites[it.key()] = row;
                    return {s, n};
                }
            }
            return {s};
        }
        n.sites[ack.toLongLong()] = {stored(unhex(op[2])), stored(unhex(op[3]))};
    } else if (op[1] == "M") { // one transaction: every row, or none
        QList<QStringList> rows;
        for (qsizetype i = 2; i + 1 < op.size(); i += 2)
            rows.append({stored(unhex(op[i])), stored(unhex(op[i + 1]))});
        if (!ack.isNull()) { // acknowledged with the new ids, in the order of the links
            const QStringList ids = ack.split(',');
            if (ids.size() != rows.size())
                n.sites[-1] = {"ids missing"}; // a state no file can be in
            for (qsizetype i = 0; i < ids.size() && i < rows.size(); ++i)
                n.sites[ids[i].toLongLong()] = rows[i];
            return {n};
        }
        // Under way when killed (the last operation): the files hold all of them or none.
        const State files = readFiles();
        int found = 0;
        for (auto it = files.sites.begin(); it != files.sites.end(); ++it) {
            if (!s.sites.contains(it.key()) && rows.contains(it.value())) {
                n.sites[it.key()] = it.value();
                ++found;
            }
        }
        return found == rows.size() ? QList<State>{s, n} : QList<State>{s};
    } else if (op[1] == "U") {
        if (n.sites.contains(op[2].toLongLong()))
            n.sites[op[2].toLongLong()] = {stored(unhex(op[3])), stored(unhex(op[4]))};
    } else if (op[1] == "D") {
        QList<State> out = {s}; // each statement stands alone: any prefix of them
        for (const QString& id : op[2].split(',')) {
            n.sites.remove(id.toLongLong());
            out << n;
        }
        return ack.isNull() ? out : QList<State>{n};
    } else if (op[1] == "V") {
        QList<State> out = {s}; // stored in order, maybe over several transactions
        for (const QString& v : op[2].split(',')) {
            const QStringList p = v.split(':');
            // The store keeps a page's title as one line.
            const QString url = unhex(p[0]), title = DisplayText::oneLine(unhex(p[1]));
            QStringList& row = n.history[url];
            if (row.isEmpty())
                row = {title, "1", p[2]};
            else
                row = {title.isEmpty() ? row[0] : title, QString::number(row[1].toLongLong() + 1),
                       p[2]};
            out << n;
        }
        return ack.isNull() ? out : QList<State>{n};
    } else if (op[1] == "S") {
        QList<State> out = {s}; // written in order, each whole; the last once acknowledged
        for (const QString& set : op[2].split(',')) {
            n.session = unhex(set).split('\x1f');
            out << n;
        }
        return ack.isNull() ? out : QList<State>{n};
    } else if (op[1] == "H") {
        n.config[0] = stored(unhex(op[2]));
        n.config[1] = stored(unhex(op[3]));
    } else {
        n.config[2] = op[2];
        n.config[3] = op[3];
        State half = n;
        n.config[4] = op[4];
        if (ack.isNull())
            return {s, half, n};
    }
    return ack.isNull() ? QList<State>{s, n} : QList<State>{n};
}

void save(const QString& dir, const State& s)
{
    QFile f(dir + "/state");
    if (!f.open(QIODevice::WriteOnly))
        std::abort();
    f.write(hex(s.config.join('\x1f')).toLatin1() + '\n');
    for (auto it = s.sites.begin(); it != s.sites.end(); ++it)
        f.write(QString::number(it.key()).toLatin1() + ' ' +
                hex(it.value().join('\x1f')).toLatin1() + '\n');
    for (auto it = s.history.begin(); it != s.history.end(); ++it)
        f.write("h " + hex(it.key()).toLatin1() + ' ' + hex(it.value().join('\x1f')).toLatin1() +
                '\n');
    f.write("s " + hex(s.session.join('\x1f')).toLatin1() + '\n');
    QFile::remove(dir + "/ops.log");
}

State load(const QString& dir)
{
    QFile f(dir + "/state");
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    State s;
    s.config = unhex(QString::fromLatin1(f.readLine().trimmed())).split('\x1f');
    while (!f.atEnd()) {
        const QStringList p = QString::fromLatin1(f.readLine().trimmed()).split(' ');
        if (p[0] == "h")
            s.history[unhex(p[1])] = unhex(p[2]).split('\x1f');
        else if (p[0] == "s")
            s.session = unhex(p[1]).split('\x1f');
        else
            s.sites[p[0].toLongLong()] = unhex(p[1]).split('\x1f');
    }
    return s;
}

int check(const QString& dir)
{
    for (const QString& db : {QV_Variaveis::LinksDbPath, QV_Variaveis::ConfigDbPath,
                              QV_Variaveis::HistoryDbPath, QV_Variaveis::SessionDbPath}) {
        if ((db == QV_Variaveis::HistoryDbPath || db == QV_Variaveis::SessionDbPath) &&
            !QFile::exists(db))
            continue; // made by the first history or session operation
        if (column(db, "PRAGMA integrity_check") != QStringList{"ok"}) {
            std::fprintf(stderr, "integrity_check failed: %s\n", qPrintable(db));
            return 1;
        }
    }
    State expected = load(dir);
    QFile f(dir + "/ops.log");
    QStringList lines;
    if (f.open(QIODevice::ReadOnly)) {
        QByteArray log = f.readAll();
        // A kill can cut a long line short; a "B" line is written before its operation starts,
        // so a cut one stands for an operation that never began.
        log.truncate(log.lastIndexOf('\n') + 1);
        lines = QString::fromUtf8(log).split('\n', Qt::SkipEmptyParts);
    }
    QList<State> possible = {expected};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList op = lines[i].split(' ');
        const bool acked = i + 1 < lines.size() && lines[i + 1].startsWith('A');
        const QString ack = acked ? lines[++i].mid(2) : QString();
        possible = after(expected, op, acked ? (ack.isEmpty() ? QString("") : ack) : QString());
        expected = possible.last();
    }
    const State files = readFiles();
    if (!possible.contains(files)) {
        std::fprintf(stderr,
                     "files differ from every state the log allows (%lld sites, %lld pages, "
                     "%lld session rows)\n",
                     qlonglong(files.sites.size()), qlonglong(files.history.size()),
                     qlonglong(files.session.size()));
        return 1;
    }
    save(dir, files);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return std::fprintf(stderr, "usage: crash_driver init|run|check DIR\n"), 2;
    const QString mode = argv[1], dir = argv[2];
    setApplicationDirForTesting(dir);
    QV_Variaveis::SetDatabasePaths();
    if (mode == "init")
        return save(dir, readFiles()), 0;
    if (mode == "check")
        return check(dir);
    Log log(dir + "/ops.log");
    for (;;)
        oneOperation(log);
}
