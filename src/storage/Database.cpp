#include "storage/Database.h"

#include "core/QvError.h"
#include "core/Rounding.h"
#include "storage/NoCaseCollation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace {

constexpr int kBusyTimeoutMs = 5000;

Database::Observer& observer()
{
    static Database::Observer o;
    return o;
}

int collateNoCase(void*, int lenA, const void* a, int lenB, const void* b)
{
    return compareNoCase({static_cast<const char*>(a), size_t(lenA)},
                         {static_cast<const char*>(b), size_t(lenB)});
}

// Why the engine failed, and one line on what the user can do about it (empty when nothing).
struct Cause {
    QString why;
    QString advice;
};

Cause causeOf(sqlite3* db)
{
    switch (sqlite3_errcode(db)) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {QStringLiteral("o arquivo está em uso por outro programa"),
                QStringLiteral("feche o outro programa que usa o arquivo")};
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return {QStringLiteral("sem permissão para ler ou gravar o arquivo"),
                QStringLiteral("verifique as permissões da pasta")};
    case SQLITE_FULL:
        return {QStringLiteral("o disco está cheio"), QStringLiteral("libere espaço no disco")};
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return {QStringLiteral("o arquivo está danificado ou não é um banco de dados"),
                QStringLiteral("restaure uma cópia do arquivo (a pasta backup ao lado dele "
                               "guarda as dos últimos dias)")};
    case SQLITE_IOERR:
        return {QStringLiteral("erro de leitura ou gravação no disco"),
                QStringLiteral("libere espaço no disco e verifique se ele funciona")};
    default:
        return {QString::fromUtf8(sqlite3_errmsg(db)), {}};
    }
}

QString withAdvice(const QString& message, const QString& advice)
{
    return advice.isEmpty() ? message : message + QStringLiteral("\nO que fazer: ") + advice + u'.';
}

// The statement is for whoever reads the log, never for the message box.
void logStatement(const QString& message, const QString& sql)
{
    if (!sql.isEmpty())
        qWarning("quorvane: %s\n  statement: %s", qPrintable(message),
                 qPrintable(QString(sql).replace(QChar(0), QStringLiteral("\\0"))));
}

} // namespace

void Database::setObserver(Observer o) { observer() = std::move(o); }

void Database::configureConnection(sqlite3* db)
{
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
}

Database::Database(sqlite3* db, const QString& path)
    : m_db(db)
    , m_path(path)
{
}

Database::~Database() { Close(); }

std::unique_ptr<Database> Database::OpenDatabase(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw QvError(withAdvice(
            QStringLiteral("Banco de dados \"%1\": no lugar do arquivo há uma pasta.").arg(path),
            QStringLiteral("renomeie ou remova a pasta")));
    if (!info.isFile())
        throw QvError(QStringLiteral("Banco de dados \"%1\": o arquivo não existe.").arg(path));
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<Database> db(new Database(raw, path));
    if (rc != SQLITE_OK)
        db->fail(QStringLiteral("não foi possível abrir o arquivo"));
    configureConnection(raw);
    // Without its own NOCASE the engine would sort accented titles after "z".
    if (sqlite3_create_collation_v2(raw, "NOCASE", SQLITE_UTF8, nullptr, collateNoCase, nullptr) !=
        SQLITE_OK)
        db->fail(QStringLiteral("não foi possível preparar a ordem alfabética"));
    // A file that is not a database opens without complaint; reading its header tells.
    switch (sqlite3_exec(raw, "PRAGMA schema_version", nullptr, nullptr, nullptr) & 0xff) {
    case SQLITE_OK:
        break;
    default:
        db->fail(QStringLiteral("não foi possível ler o arquivo"));
    }
    return db;
}

void Database::createDatabase(const QString& path, const QString& schemaSql)
{
    if (QFileInfo::exists(path))
        throw QvError(QStringLiteral("O banco de dados \"%1\" já existe.").arg(path));
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<Database> db(new Database(raw, path));
    if (rc != SQLITE_OK)
        db->fail(QStringLiteral("não foi possível criar o arquivo"));
    configureConnection(raw);
    if (sqlite3_exec(raw, schemaSql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        // No half-made file is left behind to be taken for a database next time.
        const Cause cause = causeOf(raw);
        db.reset();
        const QString message =
            QStringLiteral("Banco de dados \"%1\": não foi possível criar as tabelas (%2)")
                .arg(path, cause.why);
        if (!QFile::remove(path))
            throw QvError(withAdvice(message + QStringLiteral(", e o arquivo incompleto não pôde "
                                                              "ser apagado."),
                                     QStringLiteral("apague o arquivo \"%1\"").arg(path)));
        throw QvError(withAdvice(message + u'.', cause.advice));
    }
}

void Database::createFolderFor(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw QvError(withAdvice(QStringLiteral("Banco de dados \"%1\": não foi possível criar "
                                                "a pasta \"%2\".")
                                     .arg(path, folder),
                                 QStringLiteral("verifique as permissões da pasta")));
}

sqlite3_stmt* Database::prepareStatement(const char* sql)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK)
        fail(QStringLiteral("instrução rejeitada"), QString::fromLatin1(sql));
    return st;
}

void Database::bindText(sqlite3_stmt* st, int index, const QString& text, const char* sql)
{
    const QByteArray utf8 = text.toUtf8();
    checkWrite(sqlite3_bind_text64(st, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                   SQLITE_TRANSIENT, SQLITE_UTF8),
               sql);
}

void Database::checkWrite(int result, const char* sql)
{
    if (result != SQLITE_OK)
        fail(QStringLiteral("não foi possível gravar"), QString::fromLatin1(sql));
}

void Database::stepWrite(sqlite3_stmt* st, const char* sql)
{
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    if (rc != SQLITE_DONE)
        fail(QStringLiteral("não foi possível gravar"), QString::fromLatin1(sql));
}

void Database::execWrite(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QStringLiteral("não foi possível gravar"), QString::fromLatin1(sql));
}

void Database::useWriteAheadJournal()
{
    Recordset& mode = OpenRecordset(QStringLiteral("PRAGMA journal_mode=WAL"));
    if (mode.Eof() || mode.textAt(0).compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        fail(QStringLiteral("não foi possível usar o diário de gravação (WAL)"));
    mode.finalize();
}

void Database::fail(const QString& what, const QString& sql) const
{
    QString message = QStringLiteral("Banco de dados \"%1\": %2").arg(m_path, what);
    QString advice;
    if (m_db) {
        const int code = sqlite3_errcode(m_db);
        if (code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE) {
            const Cause cause = causeOf(m_db);
            message += QStringLiteral(" (%1)").arg(cause.why);
            advice = cause.advice;
        }
    }
    message += u'.';
    logStatement(message, sql);
    throw QvError(withAdvice(message, advice));
}

sqlite3_stmt* Database::prepare(const QString& sql)
{
    if (!m_db)
        fail(QStringLiteral("o banco de dados já foi fechado"), sql);
    // The engine would end the text at the NUL and reject a cut statement.
    if (sql.contains(QChar(0))) {
        const QString message =
            QStringLiteral("Banco de dados \"%1\": o texto contém um caractere nulo (NUL), "
                           "que não pode ser gravado; nada foi alterado.")
                .arg(m_path);
        logStatement(message, sql);
        throw QvError(withAdvice(message, QStringLiteral("apague esse caractere do texto")));
    }
    if (observer())
        observer()(m_path, sql);
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, &tail) != SQLITE_OK)
        fail(QStringLiteral("instrução rejeitada"), sql);
    // One statement per call: trailing text would be a second statement.
    if (tail && QByteArray(tail).trimmed().size() > 0) {
        sqlite3_finalize(stmt);
        const QString message =
            QStringLiteral("Banco de dados \"%1\": instrução com texto a mais.").arg(m_path);
        logStatement(message, sql);
        throw QvError(message);
    }
    if (!stmt)
        fail(QStringLiteral("instrução vazia"), sql);
    return stmt;
}

Recordset& Database::OpenRecordset(const QString& sql)
{
    sqlite3_stmt* stmt = prepare(sql);
    m_recordsets.push_back(std::make_unique<Recordset>(*this, stmt, sql));
    return *m_recordsets.back();
}

int Database::Execute(const QString& sql)
{
    sqlite3_stmt* stmt = prepare(sql);
    const qint64 before = sqlite3_total_changes64(m_db);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        fail(QStringLiteral("não foi possível gravar"), sql);
    // The engine's count belongs to the last row change, which need not be this statement.
    return sqlite3_total_changes64(m_db) == before ? 0 : sqlite3_changes(m_db);
}

qint64 Database::lastInsertId() const { return m_db ? sqlite3_last_insert_rowid(m_db) : 0; }

void Database::Close()
{
    for (auto& rs : m_recordsets)
        rs->finalize();
    m_recordsets.clear();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

Recordset::Recordset(Database& db, sqlite3_stmt* stmt, const QString& sql)
    : m_db(db)
    , m_stmt(stmt)
    , m_sql(sql)
{
    const int n = sqlite3_column_count(stmt);
    m_columns.reserve(n);
    for (int i = 0; i < n; ++i)
        m_columns.push_back(QString::fromUtf8(sqlite3_column_name(stmt, i)));
    // A failed first read must not leave the statement behind: it would keep the file open
    // after Close.
    try {
        step();
    } catch (...) {
        finalize();
        throw;
    }
}

Recordset::~Recordset() { finalize(); }

void Recordset::finalize()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
    m_eof = true;
}

void Recordset::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        m_eof = false;
        return;
    }
    m_eof = true;
    if (rc != SQLITE_DONE)
        m_db.fail(QStringLiteral("não foi possível ler"), m_sql);
}

void Recordset::MoveNext()
{
    if (m_eof || !m_stmt)
        m_db.fail(QStringLiteral("não há registro atual"), m_sql);
    step();
}

int Recordset::columnIndex(const QString& column) const
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    m_db.fail(QStringLiteral("a coluna \"%1\" não existe").arg(column), m_sql);
}

QVariant Recordset::Fields(const QString& column) const
{
    const int i = columnIndex(column);
    if (m_eof || !m_stmt)
        m_db.fail(QStringLiteral("não há registro atual"), m_sql);
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(m_stmt, i)),
                                   sqlite3_column_bytes(m_stmt, i)));
    default:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i)),
                              sqlite3_column_bytes(m_stmt, i)));
    }
}

QString Recordset::textAt(int column) const
{
    if (m_eof || !m_stmt)
        m_db.fail(QStringLiteral("não há registro atual"), m_sql);
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)) : QString();
}

qint64 Recordset::int64At(int column) const
{
    if (m_eof || !m_stmt)
        m_db.fail(QStringLiteral("não há registro atual"), m_sql);
    return sqlite3_column_int64(m_stmt, column);
}

QVariant Recordset::requireValue(const QString& column) const
{
    QVariant v = Fields(column);
    if (!v.isValid())
        m_db.fail(QStringLiteral("a coluna \"%1\" está vazia (nula)").arg(column), m_sql);
    return v;
}

QString Recordset::text(const QString& column) const { return requireValue(column).toString(); }

QString Recordset::textOrEmpty(const QString& column) const
{
    const QVariant v = Fields(column);
    return v.isValid() ? v.toString() : QString();
}

namespace {
// A number as the engine holds it, or numeric text; anything else is not a number.
bool toNumber(const QVariant& v, double& out)
{
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double) {
        out = v.toDouble();
        return true;
    }
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        out = v.toString().trimmed().toDouble(&ok);
        return ok && std::isfinite(out);
    }
    return false;
}

} // namespace

float Recordset::single(const QString& column) const
{
    double d = 0;
    if (!toNumber(requireValue(column), d) || std::fabs(d) > std::numeric_limits<float>::max())
        m_db.fail(QStringLiteral("o valor da coluna \"%1\" não é um número válido (\"%2\")")
                      .arg(column, Fields(column).toString()));
    return float(d);
}

qint16 Recordset::int16(const QString& column) const
{
    return qint16(wholeNumber(column, -32768, 32767));
}

qint32 Recordset::int32(const QString& column) const
{
    return qint32(wholeNumber(column, std::numeric_limits<qint32>::min(),
                              std::numeric_limits<qint32>::max()));
}

double Recordset::wholeNumber(const QString& column, double min, double max) const
{
    double d = 0;
    if (!toNumber(requireValue(column), d))
        m_db.fail(QStringLiteral("o valor da coluna \"%1\" não é um número (\"%2\")")
                      .arg(column, Fields(column).toString()));
    d = roundHalfEven(d);
    if (d < min || d > max)
        m_db.fail(QStringLiteral("o valor da coluna \"%1\" está fora do intervalo de %2 a %3 (%4)")
                      .arg(column)
                      .arg(min, 0, 'f', 0)
                      .arg(max, 0, 'f', 0)
                      .arg(Fields(column).toString()));
    return d;
}
