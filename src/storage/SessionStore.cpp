#include "storage/SessionStore.h"

#include "core/QvError.h"
#include "core/UrlTools.h"
#include "storage/Database.h"

#include <QDir>
#include <QFileInfo>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include <sqlite3.h>

namespace {

// One transaction, so that a run killed while the file is made leaves an empty file (made
// again) rather than tables without their version.
const char* const kSchema =
    "BEGIN;"
    "CREATE TABLE Paginas (id INTEGER PRIMARY KEY, fechada INTEGER NOT NULL, "
    "ordem INTEGER NOT NULL, endereco TEXT NOT NULL, titulo TEXT NOT NULL, "
    "historico BLOB NOT NULL);"
    "CREATE TABLE Sessao (id INTEGER PRIMARY KEY CHECK (id = 1), mostrada INTEGER NOT NULL);"
    "INSERT INTO Sessao VALUES (1, 0);"
    "PRAGMA user_version = 1;"
    "COMMIT;";
static_assert(SessionStore::kVersion == 1, "kSchema sets the version");

const char* const kInsert = "INSERT INTO Paginas (fechada, ordem, endereco, titulo, historico) "
                            "VALUES (?1, ?2, ?3, ?4, ?5)";
const char* const kShown = "INSERT OR REPLACE INTO Sessao (id, mostrada) VALUES (1, ?1)";

// What is read back is bounded, whatever the file claims: a page over the limits loses its
// address (and is dropped) or its history (and keeps the rest).
constexpr int kMaxOpenRead = 1000;

// Why a file cannot be read as a session, when that is the file's own fault: it is then set
// aside and a new one made. Any other failure (permissions, the disk) is thrown.
struct Reading {
    enum class Kind { Missing, Empty, Sound, Unreadable } kind = Kind::Missing;
    Session session;
    QString why;
};

Reading unreadable(const QString& why) { return {Reading::Kind::Unreadable, {}, why}; }

bool isDamageCode(int code)
{
    code &= 0xff;
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT || code == SQLITE_TOOBIG;
}

const QString& damaged()
{
    static const QString why =
        QStringLiteral("o arquivo está danificado ou não é um banco de dados");
    return why;
}

// Whether the engine itself finds the file is no database (Database::OpenDatabase says only
// that it could not read it).
bool isDamagedFile(const QString& path)
{
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(raw, "PRAGMA schema_version", nullptr, nullptr, nullptr);
    sqlite3_close_v2(raw);
    return isDamageCode(rc);
}

QStringList columnsOf(Database& db, const QString& table)
{
    QStringList names;
    Recordset& rs =
        db.OpenRecordset(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table));
    for (; !rs.Eof(); rs.MoveNext())
        names << rs.textAt(0).toLower();
    rs.finalize();
    return names;
}

Session readRows(Database& db)
{
    Session s;
    Recordset& shown = db.OpenRecordset(QStringLiteral("SELECT mostrada FROM Sessao"));
    const qint64 stored = shown.Eof() ? 0 : shown.int64At(0);
    shown.finalize();
    // An address over the limit reads as null: the page is left out, the one shown kept.
    Recordset& pages = db.OpenRecordset(
        QStringLiteral(
            "SELECT fechada, CASE WHEN length(endereco) <= %1 THEN endereco END AS endereco, "
            "CASE WHEN length(titulo) <= %1 THEN titulo ELSE '' END, "
            "CASE WHEN length(historico) <= %2 THEN historico ELSE x'' END AS "
            "historico FROM Paginas ORDER BY fechada, ordem")
            .arg(kMaxAddressLength)
            .arg(SessionStore::kMaxHistoryBytes));
    for (qint64 index = 0; !pages.Eof(); pages.MoveNext()) {
        const bool closed = pages.int64At(0) != 0;
        if (!closed && index++ == stored)
            s.shown = int(s.open.size());
        if (!pages.Fields(QStringLiteral("endereco")).isValid() ||
            (!closed && s.open.size() >= size_t(kMaxOpenRead)))
            continue;
        PageState page{pages.textAt(1), pages.textAt(2),
                       pages.Fields(QStringLiteral("historico")).toByteArray()};
        (closed ? s.closed : s.open).push_back(std::move(page));
    }
    pages.finalize();
    if (s.closed.size() > size_t(Session::kMaxClosed))
        s.closed.erase(s.closed.begin(), s.closed.end() - Session::kMaxClosed);
    if (size_t(s.shown) >= s.open.size())
        s.shown = 0;
    return s;
}

// Reads the file through `db` (opened on it); the file's faults give Unreadable.
Reading readOpened(Database& db)
{
    Recordset& version = db.OpenRecordset(QStringLiteral("PRAGMA user_version"));
    const qint64 v = version.int64At(0);
    version.finalize();
    if (v > SessionStore::kVersion)
        return unreadable(QStringLiteral("foi gravado por uma versão mais nova do programa"));
    if (v == 0) {
        Recordset& tables = db.OpenRecordset(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
        const bool none = tables.int64At(0) == 0;
        tables.finalize();
        if (none)
            return {Reading::Kind::Empty, {}, {}};
    }
    const QString otherShape = QStringLiteral("as tabelas do arquivo não são as de uma sessão");
    if (v != SessionStore::kVersion)
        return unreadable(otherShape);
    Recordset& check = db.OpenRecordset(QStringLiteral("PRAGMA quick_check"));
    const bool sound = !check.Eof() && check.textAt(0) == u"ok";
    check.finalize();
    if (!sound)
        return unreadable(damaged());
    if (columnsOf(db, QStringLiteral("Paginas")) !=
            QStringList{"id", "fechada", "ordem", "endereco", "titulo", "historico"} ||
        columnsOf(db, QStringLiteral("Sessao")) != QStringList{"id", "mostrada"})
        return unreadable(otherShape);
    return {Reading::Kind::Sound, readRows(db), {}};
}

// What the file at `path` holds; `keep` receives the connection when the file is usable.
Reading readSession(const QString& path, std::unique_ptr<Database>* keep = nullptr)
{
    const QFileInfo info(path);
    if (info.isDir())
        return unreadable(QStringLiteral("no lugar do arquivo há uma pasta"));
    if (!info.exists() && !info.isSymLink())
        return {};
    // A pipe or a device would be waited on for ever.
    if (!info.isFile())
        return unreadable(QStringLiteral("no lugar do arquivo há algo que não é um arquivo"));
    std::unique_ptr<Database> db;
    try {
        db = Database::OpenDatabase(path);
    } catch (const QvError&) {
        if (isDamagedFile(path))
            return unreadable(damaged());
        throw;
    }
    Reading r;
    try {
        r = readOpened(*db);
    } catch (const QvError&) {
        if (isDamageCode(sqlite3_errcode(db->handle())))
            return unreadable(damaged());
        throw;
    }
    if (keep && r.kind != Reading::Kind::Unreadable)
        *keep = std::move(db);
    return r;
}

QString withAdvice(const QString& message, const QString& advice)
{
    return message + QStringLiteral("\nO que fazer: ") + advice + u'.';
}

bool isTaken(const QString& name)
{
    for (const QString& n : {name, name + QStringLiteral("-wal"), name + QStringLiteral("-shm")}) {
        const QFileInfo info(n);
        if (info.exists() || info.isSymLink())
            return true;
    }
    return false;
}

// Renames the file and its journal (or a journal left without its file) to a name no earlier
// one holds; the new name.
QString setAside(const QString& path)
{
    QString aside = path + QStringLiteral(".ilegivel");
    for (int i = 2; isTaken(aside); ++i)
        aside = path + QStringLiteral(".ilegivel-%1").arg(i);
    // The journal belongs to the file set aside: left behind, it would be read into the new one.
    QStringList moved;
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QFileInfo from(path + suffix);
        if (!from.exists() && !from.isSymLink())
            continue;
        if (QDir().rename(path + suffix, aside + suffix)) {
            moved << suffix;
            continue;
        }
        for (const QString& back : moved)
            QDir().rename(aside + back, path + back);
        throw QvError(withAdvice(QStringLiteral("Banco de dados \"%1\": as páginas abertas "
                                                "guardadas não puderam ser lidas, e não foi "
                                                "possível guardar o arquivo como \"%2\"; nada "
                                                "foi alterado.")
                                     .arg(path, aside),
                                 QStringLiteral("verifique as permissões da pasta")));
    }
    return aside;
}

void refuseReadOnly(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QFileInfo file(path);
    if (file.isFile() && !file.isWritable())
        throw QvError(withAdvice(QStringLiteral("Banco de dados \"%1\": o arquivo é somente "
                                                "leitura; as páginas abertas não serão guardadas.")
                                     .arg(path),
                                 QStringLiteral("verifique as permissões do arquivo")));
    if (QFileInfo(folder).isDir() && !QFileInfo(folder).isWritable())
        throw QvError(withAdvice(QStringLiteral("Banco de dados \"%1\": a pasta \"%2\" é somente "
                                                "leitura; as páginas abertas não serão "
                                                "guardadas.")
                                     .arg(path, folder),
                                 QStringLiteral("verifique as permissões da pasta")));
}

// What a write keeps, by the limits of what is read back: a history too large to read again
// (or to bind) would otherwise end every later write of the run.
void keepToLimits(Session& s)
{
    for (auto* pages : {&s.open, &s.closed}) {
        for (size_t i = pages->size(); i-- > 0;) {
            PageState& page = (*pages)[i];
            if (page.history.size() > SessionStore::kMaxHistoryBytes)
                page.history.clear();
            if (page.title.size() > kMaxAddressLength)
                page.title.clear();
            if (page.address.size() <= kMaxAddressLength)
                continue;
            pages->erase(pages->begin() + qsizetype(i));
            if (pages == &s.open && s.shown > int(i))
                --s.shown;
        }
    }
    if (s.closed.size() > size_t(Session::kMaxClosed))
        s.closed.erase(s.closed.begin(), s.closed.end() - Session::kMaxClosed);
    if (s.shown < 0 || size_t(s.shown) >= s.open.size())
        s.shown = 0;
}

} // namespace

// The connection and the thread that writes through it. The newest session queued replaces any
// older one still waiting: only the last state of the pages matters.
class SessionStore::Writer {
public:
    Writer(std::unique_ptr<Database> db, std::function<void(const QString&)> failed)
        : m_db(std::move(db))
        , m_failed(std::move(failed))
    {
        m_db->useWriteAheadJournal();
        // Each commit reaches the disk before the next: the power gone loses no stored set.
        m_db->Execute(QStringLiteral("PRAGMA synchronous=FULL"));
        m_insert.reset(m_db->prepareStatement(kInsert));
        m_shown.reset(m_db->prepareStatement(kShown));
        m_thread = std::thread([this] { run(); });
    }

    ~Writer()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void queue(Session session)
    {
        {
            std::lock_guard lock(m_mutex);
            if (m_broken)
                return;
            m_pending = std::move(session);
            ++m_queued;
        }
        m_wake.notify_all();
    }

    void flush()
    {
        std::unique_lock lock(m_mutex);
        const quint64 ticket = m_queued;
        m_done.wait(lock, [&] { return m_broken || m_stored >= ticket; });
    }

    bool broken() const
    {
        std::lock_guard lock(m_mutex);
        return m_broken;
    }

private:
    void run()
    {
        for (;;) {
            std::optional<Session> next;
            quint64 ticket = 0;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stopping || m_pending; });
                if (!m_pending)
                    break;
                next.swap(m_pending);
                ticket = m_queued;
            }
            QString failure;
            try {
                store(*next);
            } catch (const QvError& e) {
                failure = e.message();
            } catch (const std::exception& e) {
                failure = QStringLiteral("Erro inesperado: %1").arg(QString::fromUtf8(e.what()));
            }
            // The failed set is undone, and the failure told, before anyone waiting is told it
            // is over.
            if (!failure.isEmpty()) {
                sqlite3_exec(m_db->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
                m_failed(failure);
            }
            {
                std::lock_guard lock(m_mutex);
                m_stored = ticket;
                if (!failure.isEmpty()) {
                    m_broken = true;
                    m_pending.reset();
                }
            }
            m_done.notify_all();
            if (!failure.isEmpty())
                break;
        }
        m_insert.reset();
        m_shown.reset();
        m_db.reset();
    }

    // The whole set in one transaction: the file holds this one or the one before.
    void store(const Session& s)
    {
        m_db->execWrite("BEGIN IMMEDIATE");
        m_db->execWrite("DELETE FROM Paginas");
        int order = 0;
        for (const auto* pages : {&s.open, &s.closed}) {
            for (const PageState& page : *pages) {
                sqlite3_stmt* st = m_insert.get();
                m_db->checkWrite(sqlite3_bind_int(st, 1, pages == &s.closed ? 1 : 0), kInsert);
                m_db->checkWrite(sqlite3_bind_int(st, 2, order++), kInsert);
                m_db->bindText(st, 3, page.address, kInsert);
                m_db->bindText(st, 4, page.title, kInsert);
                m_db->checkWrite(sqlite3_bind_blob64(st, 5, page.history.constData(),
                                                     sqlite3_uint64(page.history.size()),
                                                     SQLITE_TRANSIENT),
                                 kInsert);
                m_db->stepWrite(st, kInsert);
            }
        }
        m_db->checkWrite(sqlite3_bind_int(m_shown.get(), 1, s.shown), kShown);
        m_db->stepWrite(m_shown.get(), kShown);
        m_db->execWrite("COMMIT");
    }

    using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;
    std::unique_ptr<Database> m_db;
    Statement m_insert{nullptr, sqlite3_finalize};
    Statement m_shown{nullptr, sqlite3_finalize};
    std::function<void(const QString&)> m_failed;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::optional<Session> m_pending;
    quint64 m_queued = 0; // sessions queued so far
    quint64 m_stored = 0; // of those, the ones stored or dropped
    bool m_stopping = false;
    bool m_broken = false;
    std::thread m_thread;
};

SessionStore::SessionStore(const QString& path, Session leftBehind, std::unique_ptr<Writer> writer,
                           const QString& failure)
    : m_path(path)
    , m_leftBehind(std::move(leftBehind))
    , m_writer(std::move(writer))
    , m_failure(failure)
{
}

std::unique_ptr<SessionStore> SessionStore::open(const QString& path, QString* notice)
{
    refuseReadOnly(path);
    std::unique_ptr<Database> db;
    Reading r = readSession(path, &db);
    QString aside, why;
    if (r.kind == Reading::Kind::Unreadable) {
        aside = setAside(path);
        why = r.why;
        r = {};
    }
    if (r.kind == Reading::Kind::Missing) {
        // A journal without its file would be read into the new one.
        if (isTaken(path))
            setAside(path);
        Database::createFolderFor(path);
        Database::createDatabase(path, QString::fromLatin1(kSchema));
        db = Database::OpenDatabase(path);
    } else if (r.kind == Reading::Kind::Empty) {
        if (sqlite3_exec(db->handle(), kSchema, nullptr, nullptr, nullptr) != SQLITE_OK)
            db->fail(QStringLiteral("não foi possível criar as tabelas"));
    }
    if (sqlite3_db_readonly(db->handle(), "main") == 1)
        db->fail(QStringLiteral("o arquivo é somente leitura"));
    auto store = std::unique_ptr<SessionStore>(new SessionStore(path, r.session, nullptr, {}));
    SessionStore* self = store.get();
    store->m_writer = std::make_unique<Writer>(std::move(db), [self](const QString& message) {
        qWarning("quorvane: session not stored: %s", qPrintable(message));
        // Told on the store's own thread: whoever listens need not know about the writer's.
        QMetaObject::invokeMethod(
            self, [self, message] { Q_EMIT self->writeFailed(message); }, Qt::QueuedConnection);
    });
    if (notice && !aside.isEmpty())
        *notice = QStringLiteral("As páginas abertas guardadas em \"%1\" não puderam ser lidas "
                                 "(%2). O arquivo foi guardado como \"%3\", e um novo foi criado.")
                      .arg(path, why, aside);
    return store;
}

std::unique_ptr<SessionStore> SessionStore::disabled(const QString& path, const QString& failure)
{
    Q_ASSERT(!failure.isEmpty());
    return std::unique_ptr<SessionStore>(new SessionStore(path, {}, nullptr, failure));
}

SessionStore::~SessionStore() = default;

void SessionStore::write(Session session)
{
    if (!m_writer)
        return;
    keepToLimits(session);
    m_writer->queue(std::move(session));
}

void SessionStore::endNormally(std::vector<PageState> closed)
{
    Session ended;
    ended.closed = std::move(closed);
    write(std::move(ended));
    flush();
}

void SessionStore::flush()
{
    if (m_writer)
        m_writer->flush();
}

bool SessionStore::hasFailed() const { return !m_writer || m_writer->broken(); }

Session SessionStore::readFile(const QString& path)
{
    const Reading r = readSession(path);
    if (r.kind == Reading::Kind::Unreadable)
        throw QvError(QStringLiteral("Banco de dados \"%1\": as páginas abertas não podem ser "
                                     "lidas (%2).")
                          .arg(path, r.why));
    return r.session;
}
