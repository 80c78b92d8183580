#include "storage/HistoryStore.h"

#include "core/DisplayText.h"
#include "core/QvError.h"
#include "storage/Backups.h"
#include "storage/Database.h"

#include <QDateTime>
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

} // namespace

// The connection and its statements: opened on the thread that creates the store, used by the
// writer thread alone from then on.
class HistoryStore::Writer {
public:
    explicit Writer(const QString& path)
    {
        if (!QFileInfo::exists(path)) {
            Database::createFolderFor(path);
            Database::createDatabase(path, QString::fromLatin1(kSchema));
        }
        m_db = Database::OpenDatabase(path);
        if (sqlite3_db_readonly(m_db->handle(), "main") == 1)
            m_db->fail(QStringLiteral("o arquivo é somente leitura"));
        // A file of another shape is left exactly as it is: the statements first.
        m_db->Execute(QString::fromLatin1(kSchema));
        m_upsert.reset(m_db->prepareStatement(kUpsert));
        m_setTitle.reset(m_db->prepareStatement(kSetTitle));
        m_db->useWriteAheadJournal();
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
        m_db->bindText(m_upsert.get(), 1, url, kUpsert);
        m_db->bindText(m_upsert.get(), 2, title, kUpsert);
        m_db->checkWrite(sqlite3_bind_int64(m_upsert.get(), 3, when), kUpsert);
        m_db->stepWrite(m_upsert.get(), kUpsert);
    }

    void title(const QString& url, const QString& title)
    {
        begin();
        m_db->bindText(m_setTitle.get(), 1, url, kSetTitle);
        m_db->bindText(m_setTitle.get(), 2, title, kSetTitle);
        m_db->stepWrite(m_setTitle.get(), kSetTitle);
    }

    void commit()
    {
        if (!m_inTransaction)
            return;
        m_db->execWrite("COMMIT");
        m_inTransaction = false;
    }

    void clear()
    {
        commit();
        m_db->execWrite("PRAGMA secure_delete=ON");
        m_db->execWrite("DELETE FROM Historico");
        // The deleted visits must not stay readable in the journal either.
        m_db->execWrite("PRAGMA wal_checkpoint(TRUNCATE)");
        m_db->execWrite("PRAGMA secure_delete=OFF");
    }

private:
    void begin()
    {
        if (m_inTransaction)
            return;
        m_db->execWrite("BEGIN");
        m_inTransaction = true;
    }

    using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;
    std::unique_ptr<Database> m_db;
    Statement m_upsert{nullptr, sqlite3_finalize};
    Statement m_setTitle{nullptr, sqlite3_finalize};
    bool m_inTransaction = false;
};

HistoryStore::HistoryStore(const QString& path, std::unique_ptr<Writer> writer,
                           const QString& failure)
    : m_path(path)
    , m_writer(std::move(writer))
    , m_failed(!m_writer)
    , m_failure(failure)
{
    if (m_writer)
        m_thread = std::thread([this] { run(); });
}

std::unique_ptr<HistoryStore> HistoryStore::create(const QString& path)
{
    auto writer = std::make_unique<Writer>(path);
    return std::unique_ptr<HistoryStore>(new HistoryStore(path, std::move(writer), {}));
}

std::unique_ptr<HistoryStore> HistoryStore::createDisabled(const QString& path,
                                                           const QString& failure)
{
    Q_ASSERT(!failure.isEmpty());
    return std::unique_ptr<HistoryStore>(new HistoryStore(path, nullptr, failure));
}

HistoryStore::~HistoryStore()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
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
    enqueue({Op::Visit,
             url,
             DisplayText::oneLine(title),
             when ? when : QDateTime::currentSecsSinceEpoch(),
             {}});
}

void HistoryStore::setTitle(const QString& url, const QString& title)
{
    if (!isRecordable(url))
        return;
    QString line = DisplayText::oneLine(title);
    if (!line.isEmpty())
        enqueue({Op::Title, url, std::move(line), 0, {}});
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

void HistoryStore::flush()
{
    if (m_thread.joinable())
        waitFor(Op::Flush);
}

void HistoryStore::clear()
{
    // A disabled store never touches the file or its copies.
    const QString error = m_thread.joinable() ? waitFor(Op::Clear) : failure();
    if (!error.isEmpty())
        throw QvError(error);
    removeDailyCopies();
}

void HistoryStore::removeDailyCopies() const
{
    QStringList left;
    for (const QString& copy : Backups::backupsOf(m_path)) {
        if (!QFile::remove(copy))
            left.append(u'"' + copy + u'"');
    }
    if (left.isEmpty())
        return;
    const QString copies = left.size() == 1
                               ? QStringLiteral("a cópia diária %1, que ainda guarda")
                               : QStringLiteral("as cópias diárias %1, que ainda guardam");
    throw QvError(QStringLiteral("Banco de dados \"%1\": o histórico foi limpo, mas não foi "
                                 "possível apagar %2 as visitas.\nO que fazer: verifique as "
                                 "permissões da pasta backup e apague o que ficou.")
                      .arg(m_path, copies.arg(left.join(QStringLiteral(", ")))));
}

bool HistoryStore::hasFailed() const
{
    std::lock_guard lock(m_mutex);
    return m_failed;
}

QString HistoryStore::failure() const
{
    std::lock_guard lock(m_mutex);
    return m_failure;
}

void HistoryStore::fail(const QString& message)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_failed)
            return;
        m_failed = true;
        m_failure = message;
    }
    qWarning("quorvane: history off: %s", qPrintable(message));
    // Told on the store's own thread: whoever listens need not know about the writer's.
    QMetaObject::invokeMethod(
        this, [this, message] { Q_EMIT writeFailed(message); }, Qt::QueuedConnection);
}

void HistoryStore::run()
{
    std::deque<Job> batch;
    while (takeBatch(batch)) {
        for (Job& job : batch)
            runJob(job);
        batch.clear();
        write([this] { m_writer->commit(); });
    }
    m_writer.reset();
}

// Waits for jobs and takes all that are queued; false once the store stops with none left.
bool HistoryStore::takeBatch(std::deque<Job>& batch)
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
    batch.swap(m_queue);
    return !batch.empty();
}

void HistoryStore::runJob(Job& job)
{
    write([this, &job] {
        switch (job.op) {
        case Op::Visit:
            return m_writer->visit(job.url, job.title, job.when);
        case Op::Title:
            return m_writer->title(job.url, job.title);
        case Op::Clear:
            return m_writer->clear();
        case Op::Flush:
            return m_writer->commit();
        }
    });
    if (job.done)
        job.done->set_value(job.op == Op::Clear ? failure() : QString());
}

// The top of every writer job: a failure rolls back the batch under way and ends the writing.
void HistoryStore::write(const std::function<void()>& step)
{
    if (!m_writer)
        return;
    try {
        step();
    } catch (const QvError& e) {
        m_writer.reset();
        fail(e.message());
    } catch (const std::exception& e) {
        m_writer.reset();
        fail(QStringLiteral("Erro inesperado: %1").arg(QString::fromUtf8(e.what())));
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
