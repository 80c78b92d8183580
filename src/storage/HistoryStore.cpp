#include "storage/HistoryStore.h"

#include "core/QvError.h"
#include "storage/Backups.h"
#include "storage/Database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

const char* const kSchema = "CREATE TABLE IF NOT EXISTS Historico (id INTEGER PRIMARY KEY, "
                            "url TEXT UNIQUE, titulo TEXT, visitas INTEGER, ultima INTEGER)";

const char* const kUpsert =
    "INSERT INTO Historico (url, titulo, visitas, ultima) VALUES (?1, ?2, 1, ?3) "
    "ON CONFLICT(url) DO UPDATE SET visitas = visitas + 1, ultima = excluded.ultima, "
    "titulo = CASE WHEN excluded.titulo <> '' THEN excluded.titulo ELSE titulo END";

const char* const kSetTitle = "UPDATE Historico SET titulo = ?2 WHERE url = ?1 AND ?2 <> ''";

void bindText(sqlite3_stmt* st, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

} // namespace

// The writer thread's connection and statements.
class HistoryStore::Writer {
public:
    explicit Writer(const QString& path)
    {
        if (!QFileInfo::exists(path)) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            Database::createDatabase(path, QString::fromLatin1(kSchema));
        }
        m_db = Database::OpenDatabase(path);
        if (sqlite3_db_readonly(m_db->handle(), "main") == 1)
            m_db->fail(QStringLiteral("o arquivo é somente leitura"));
        // A file of another shape is left exactly as it is: the statements first.
        m_db->Execute(QString::fromLatin1(kSchema));
        m_upsert.reset(prepare(kUpsert));
        m_setTitle.reset(prepare(kSetTitle));
        Recordset& mode = m_db->OpenRecordset(QStringLiteral("PRAGMA journal_mode=WAL"));
        if (mode.Eof() || mode.textAt(0).compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
            m_db->fail(QStringLiteral("não foi possível usar o diário de gravação (WAL)"));
        mode.finalize();
        m_db->Execute(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }

    ~Writer()
    {
        if (m_inTransaction)
            sqlite3_exec(m_db->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }

    void visit(const QString& url, const QString& title, qint64 when)
    {
        begin();
        bindText(m_upsert.get(), 1, url);
        bindText(m_upsert.get(), 2, title);
        sqlite3_bind_int64(m_upsert.get(), 3, when);
        step(m_upsert.get(), kUpsert);
    }

    void title(const QString& url, const QString& title)
    {
        begin();
        bindText(m_setTitle.get(), 1, url);
        bindText(m_setTitle.get(), 2, title);
        step(m_setTitle.get(), kSetTitle);
    }

    void commit()
    {
        if (!m_inTransaction)
            return;
        exec("COMMIT");
        m_inTransaction = false;
    }

    void clear()
    {
        commit();
        exec("PRAGMA secure_delete=ON");
        exec("DELETE FROM Historico");
        // The deleted visits must not stay readable in the journal either.
        exec("PRAGMA wal_checkpoint(TRUNCATE)");
        exec("PRAGMA secure_delete=OFF");
    }

private:
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db->handle(), sql, -1, &st, nullptr) != SQLITE_OK)
            m_db->fail(QStringLiteral("instrução rejeitada"), QString::fromLatin1(sql));
        return st;
    }

    void step(sqlite3_stmt* st, const char* sql)
    {
        const int rc = sqlite3_step(st);
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        if (rc != SQLITE_DONE)
            m_db->fail(QStringLiteral("não foi possível gravar"), QString::fromLatin1(sql));
    }

    void exec(const char* sql)
    {
        if (sqlite3_exec(m_db->handle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            m_db->fail(QStringLiteral("não foi possível gravar"), QString::fromLatin1(sql));
    }

    void begin()
    {
        if (m_inTransaction)
            return;
        exec("BEGIN");
        m_inTransaction = true;
    }

    using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;
    std::unique_ptr<Database> m_db;
    Statement m_upsert{nullptr, sqlite3_finalize};
    Statement m_setTitle{nullptr, sqlite3_finalize};
    bool m_inTransaction = false;
};

HistoryStore::HistoryStore(const QString& path, QObject* parent)
    : QObject(parent)
    , m_path(path)
    , m_thread([this] { run(); })
{
}

HistoryStore::~HistoryStore()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

bool HistoryStore::isRecordable(const QString& url)
{
    return url.size() <= kMaxUrlLength &&
           (url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
            url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive));
}

void HistoryStore::recordVisit(const QString& url, const QString& title, qint64 when)
{
    if (!isRecordable(url))
        return;
    enqueue({Op::Visit, url, title, when ? when : QDateTime::currentSecsSinceEpoch(), {}});
}

void HistoryStore::setTitle(const QString& url, const QString& title)
{
    if (isRecordable(url) && !title.isEmpty())
        enqueue({Op::Title, url, title, 0, {}});
}

void HistoryStore::enqueue(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_failed && !job.done)
            return;
        m_queue.push_back(std::move(job));
    }
    m_wake.notify_one();
}

QString HistoryStore::waitFor(Op op)
{
    auto done = std::make_shared<std::promise<QString>>();
    std::future<QString> answer = done->get_future();
    enqueue({op, {}, {}, 0, done});
    return answer.get();
}

void HistoryStore::flush() { waitFor(Op::Flush); }

void HistoryStore::clear()
{
    const QString error = waitFor(Op::Clear);
    if (!error.isEmpty())
        throw QvError(error);
    for (const QString& copy : Backups::backupsOf(m_path))
        QFile::remove(copy);
}

bool HistoryStore::hasFailed() const
{
    std::lock_guard lock(m_mutex);
    return m_failed;
}

void HistoryStore::fail(const QString& message)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_failed)
            return;
        m_failed = true;
    }
    qWarning("quorvane: history off: %s", qPrintable(message));
    Q_EMIT failed(message);
}

void HistoryStore::run()
{
    std::unique_ptr<Writer> writer;
    QString failure;
    try {
        writer = std::make_unique<Writer>(m_path);
    } catch (const QvError& e) {
        failure = e.message();
        fail(failure);
    }
    for (;;) {
        std::deque<Job> batch;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            batch.swap(m_queue);
        }
        for (Job& job : batch) {
            try {
                if (writer && job.op == Op::Visit)
                    writer->visit(job.url, job.title, job.when);
                else if (writer && job.op == Op::Title)
                    writer->title(job.url, job.title);
                else if (writer && job.op == Op::Clear)
                    writer->clear();
                else if (writer)
                    writer->commit();
            } catch (const QvError& e) {
                writer.reset(); // rolls back the batch under way
                failure = e.message();
                fail(failure);
            }
            if (job.done)
                job.done->set_value(job.op == Op::Clear ? failure : QString());
        }
        try {
            if (writer)
                writer->commit();
        } catch (const QvError& e) {
            writer.reset();
            failure = e.message();
            fail(failure);
        }
    }
}

std::vector<HistoryRow> HistoryStore::readAll(const QString& path)
{
    std::vector<HistoryRow> rows;
    if (!QFileInfo::exists(path))
        return rows;
    auto db = Database::OpenDatabase(path);
    Recordset& rs =
        db->OpenRecordset(QStringLiteral("SELECT url, titulo, visitas, ultima FROM Historico "
                                         "ORDER BY visitas DESC, ultima DESC"));
    for (; !rs.Eof(); rs.MoveNext())
        rows.push_back({rs.textAt(0), rs.textAt(1), rs.int64At(2), rs.int64At(3)});
    return rows;
}
