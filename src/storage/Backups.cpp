#include "storage/Backups.h"

#include "core/Paths.h"
#include "core/QvError.h"
#include "storage/Database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// A handle that closes itself.
struct Connection {
    sqlite3* db = nullptr;
    int rc = SQLITE_OK;
    Connection(const QString& path, int flags)
    {
        rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
        Database::configureConnection(db);
    }
    ~Connection() { sqlite3_close_v2(db); }
};

QString folderOf(const QString& dbPath)
{
    return QFileInfo(dbPath).absolutePath() + QStringLiteral("/backup");
}

QString baseNameOf(const QString& dbPath) { return QFileInfo(dbPath).completeBaseName(); }

QString backupPath(const QString& dbPath, const QDate& day)
{
    return folderOf(dbPath) + u'/' + baseNameOf(dbPath) + u'-' + day.toString(kDateFormat) +
           QStringLiteral(".mdb");
}

QDate dayOf(const QString& backup, const QString& dbPath)
{
    const QString name = QFileInfo(backup).fileName();
    return QDate::fromString(name.mid(baseNameOf(dbPath).size() + 1, 10), kDateFormat);
}

void logLine(const QString& line) { qWarning("quorvane: %s", qPrintable(line)); }

const char* const kSideSuffixes[] = {"", "-journal", "-wal", "-shm"};

// Puts back what setAside moved, newest first. A file that cannot go back is named with the
// name it is left under, so that nothing is lost to a database started anew.
void putBack(const QString& dbPath, const QString& keptPath, const QStringList& moved)
{
    for (qsizetype i = moved.size() - 1; i >= 0; --i) {
        if (!QFile::rename(keptPath + moved[i], dbPath + moved[i]))
            throw QvError(QStringLiteral("Banco de dados \"%1\": o arquivo danificado ficou "
                                         "guardado como \"%2\" e não pôde voltar ao seu "
                                         "nome.\nO que fazer: renomeie \"%2\" para \"%1\".")
                              .arg(dbPath + moved[i], keptPath + moved[i]));
    }
}

// The damaged file and whatever journal belongs to it move together: a journal left behind
// would be played back into the restored copy. When one of them cannot move, all go back.
// Returns the suffixes moved ("" is the file itself).
QStringList setAside(const QString& dbPath, const QString& keptPath)
{
    QStringList moved;
    for (const char* suffix : kSideSuffixes) {
        const QString from = dbPath + QLatin1String(suffix);
        if (*suffix && !QFile::exists(from))
            continue;
        if (!QFile::rename(from, keptPath + QLatin1String(suffix))) {
            putBack(dbPath, keptPath, moved);
            throw QvError(QStringLiteral("Banco de dados \"%1\": está danificado e não pôde ser "
                                         "restaurado, porque não foi possível renomear \"%2\" "
                                         "para \"%3\".\nO que fazer: verifique as permissões "
                                         "da pasta.")
                              .arg(dbPath, from, keptPath + QLatin1String(suffix)));
        }
        moved.append(QLatin1String(suffix));
    }
    return moved;
}

// A file left by an earlier attempt under a temporary name goes first.
void removeLeftover(const QString& dbPath, const QString& part)
{
    if (QFileInfo::exists(part) && !QFile::remove(part))
        throw QvError(QStringLiteral("Banco de dados \"%1\": não foi possível apagar o arquivo "
                                     "temporário \"%2\".\nO que fazer: verifique as permissões "
                                     "da pasta.")
                          .arg(dbPath, part));
}

// Puts the backup in the damaged file's place through a temporary name, so that a file with the
// final name is always whole.
void copyInPlace(const QString& backup, const QString& dbPath)
{
    const QString part = dbPath + QStringLiteral(".part");
    removeLeftover(dbPath, part);
    if (QFile::copy(backup, part) && QFile::rename(part, dbPath))
        return;
    // Whether or not this goes, the error below stands: a leftover is never taken for a
    // database and goes before the next attempt.
    QFile::remove(part);
    throw QvError(QStringLiteral("Banco de dados \"%1\": está danificado e não pôde ser "
                                 "restaurado, porque não foi possível copiar \"%2\" "
                                 "para o seu lugar.\nO que fazer: libere espaço no "
                                 "disco e verifique as permissões da pasta.")
                      .arg(dbPath, backup));
}

QString noticeFor(const QString& dbPath, const QDate& day, const QString& keptName)
{
    const QString what = dbPath == QV_Variaveis::ConfigDbPath
                             ? QStringLiteral("A configuração estava danificada")
                         : dbPath == QV_Variaveis::HistoryDbPath
                             ? QStringLiteral("O histórico estava danificado")
                             : QStringLiteral("A lista de sites estava danificada");
    return what + QStringLiteral(" e foi restaurada da cópia de %1. O arquivo danificado foi "
                                 "guardado como %2.")
                      .arg(day.toString(QStringLiteral("dd/MM/yyyy")), keptName);
}

void prune(const QString& dbPath)
{
    const QStringList all = Backups::backupsOf(dbPath);
    for (qsizetype i = Backups::kKept; i < all.size(); ++i) {
        if (!QFile::remove(all[i]))
            throw QvError(QStringLiteral("Banco de dados \"%1\": não foi possível apagar a "
                                         "cópia antiga \"%2\".\nO que fazer: verifique as "
                                         "permissões da pasta.")
                              .arg(dbPath, all[i]));
    }
}

// The engine's online backup of dbPath into `to`; the engine's result.
int onlineBackup(const QString& dbPath, const QString& to)
{
    Connection from(dbPath, SQLITE_OPEN_READONLY);
    Connection copy(to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    int rc = from.rc != SQLITE_OK ? from.rc : copy.rc;
    if (rc == SQLITE_OK) {
        sqlite3_backup* b = sqlite3_backup_init(copy.db, "main", from.db, "main");
        rc = b ? sqlite3_backup_step(b, -1) : sqlite3_errcode(copy.db);
        if (b && sqlite3_backup_finish(b) != SQLITE_OK && rc == SQLITE_DONE)
            rc = sqlite3_errcode(copy.db);
    }
    return rc;
}

// Today's copy, through a temporary name, so that a file with the final name is always whole.
void copyOf(const QString& dbPath, const QDate& today)
{
    const QString folder = folderOf(dbPath);
    if (!QDir().mkpath(folder))
        throw QvError(QStringLiteral("Banco de dados \"%1\": a cópia diária não foi feita, "
                                     "porque não foi possível criar a pasta \"%2\".")
                          .arg(dbPath, folder));
    const QString target = backupPath(dbPath, today);
    const QString part = target + QStringLiteral(".part");
    removeLeftover(dbPath, part);
    const int rc = onlineBackup(dbPath, part);
    if (rc == SQLITE_DONE && QFile::rename(part, target))
        return;
    QFile::remove(part); // as in copyInPlace: the error stands either way
    const QString why = rc == SQLITE_DONE
                            ? QStringLiteral("não foi possível renomear \"%1\"").arg(part)
                            : QString::fromUtf8(sqlite3_errstr(rc));
    throw QvError(QStringLiteral("Banco de dados \"%1\": a cópia diária \"%2\" não foi feita "
                                 "(%3).")
                      .arg(dbPath, target, why));
}

} // namespace

QStringList Backups::backupsOf(const QString& dbPath)
{
    const QString pattern = baseNameOf(dbPath) + QStringLiteral("-\?\?\?\?-\?\?-\?\?.mdb");
    QStringList out;
    const QDir dir(folderOf(dbPath));
    for (const QString& name : dir.entryList({pattern}, QDir::Files, QDir::Name | QDir::Reversed)) {
        if (dayOf(name, dbPath).isValid())
            out.append(dir.filePath(name));
    }
    return out;
}

bool Backups::isSound(const QString& dbPath, Check check)
{
    Connection c(dbPath, SQLITE_OPEN_READONLY);
    if (c.rc != SQLITE_OK)
        return false;
    const char* sql = check == Check::Quick ? "PRAGMA quick_check" : "PRAGMA integrity_check";
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(c.db, sql, -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    const bool ok = rc == SQLITE_ROW &&
                    qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "ok") == 0;
    sqlite3_finalize(stmt);
    const int code = sqlite3_errcode(c.db);
    return ok || code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

QString Backups::restoreIfDamaged(const QString& dbPath)
{
    if (!QFileInfo(dbPath).isFile() || isSound(dbPath, Check::Quick))
        return {};
    for (const QString& backup : backupsOf(dbPath)) {
        if (!isSound(backup, Check::Integrity)) {
            logLine(QStringLiteral("backup \"%1\" is damaged; trying an older one").arg(backup));
            continue;
        }
        const QString kept =
            dbPath + QStringLiteral(".danificado-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
        const QStringList moved = setAside(dbPath, kept);
        try {
            copyInPlace(backup, dbPath);
        } catch (const QvError&) {
            putBack(dbPath, kept, moved); // as it was
            throw;
        }
        return noticeFor(dbPath, dayOf(backup, dbPath), QFileInfo(kept).fileName());
    }
    return {};
}

void Backups::backUp(const QString& dbPath, const QDate& today)
{
    const QStringList existing = backupsOf(dbPath);
    const bool due = existing.isEmpty() || dayOf(existing.first(), dbPath) < today;
    // Older copies go at every start, also when today's was made before or cannot be made.
    try {
        if (due)
            copyOf(dbPath, today);
    } catch (const QvError&) {
        prune(dbPath);
        throw;
    }
    prune(dbPath);
}

QStringList Backups::atStartup(const QDate& today)
{
    QStringList notices;
    for (const QString& path :
         {QV_Variaveis::LinksDbPath, QV_Variaveis::ConfigDbPath, QV_Variaveis::HistoryDbPath}) {
        const QString notice = restoreIfDamaged(path);
        if (!notice.isEmpty())
            notices.append(notice);
        // A damaged file that could not be restored is not copied over a good backup.
        if (QFileInfo(path).isFile() && isSound(path, Check::Quick)) {
            try {
                backUp(path, today);
            } catch (const QvError& e) {
                logLine(e.message()); // a copy is never worth the start
            }
        }
    }
    return notices;
}
