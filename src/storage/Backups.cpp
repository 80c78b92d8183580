#include "storage/Backups.h"

#include "core/Paths.h"
#include "core/QvError.h"
#include "storage/Database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

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

// Copies through a temporary name, so that a file with the final name is always whole.
bool copyWhole(const QString& from, const QString& to)
{
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part))
        return false;
    if (!QFile::rename(part, to)) {
        QFile::remove(part);
        return false;
    }
    return true;
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
    for (qsizetype i = Backups::kKept; i < all.size(); ++i)
        QFile::remove(all[i]);
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
        if (!copyWhole(backup, dbPath)) {
            putBack(dbPath, kept, moved); // as it was
            throw QvError(QStringLiteral("Banco de dados \"%1\": está danificado e não pôde ser "
                                         "restaurado, porque não foi possível copiar \"%2\" "
                                         "para o seu lugar.\nO que fazer: libere espaço no "
                                         "disco e verifique as permissões da pasta.")
                              .arg(dbPath, backup));
        }
        return noticeFor(dbPath, dayOf(backup, dbPath), QFileInfo(kept).fileName());
    }
    return {};
}

bool Backups::backUp(const QString& dbPath, const QDate& today)
{
    // Older copies go at every start, also when today's was made before.
    const auto pruned = qScopeGuard([&dbPath] { prune(dbPath); });
    const QStringList existing = backupsOf(dbPath);
    if (!existing.isEmpty() && dayOf(existing.first(), dbPath) >= today)
        return true;
    const QString target = backupPath(dbPath, today);
    const QString part = target + QStringLiteral(".part");
    if (!QDir().mkpath(folderOf(dbPath))) {
        logLine(QStringLiteral("backup of \"%1\" not made: cannot create the folder \"%2\"")
                    .arg(dbPath, folderOf(dbPath)));
        return false;
    }
    QFile::remove(part);
    int rc;
    {
        Connection from(dbPath, SQLITE_OPEN_READONLY);
        Connection to(part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        rc = from.rc != SQLITE_OK ? from.rc : to.rc;
        if (rc == SQLITE_OK) {
            sqlite3_backup* b = sqlite3_backup_init(to.db, "main", from.db, "main");
            rc = b ? sqlite3_backup_step(b, -1) : sqlite3_errcode(to.db);
            if (b && sqlite3_backup_finish(b) != SQLITE_OK && rc == SQLITE_DONE)
                rc = sqlite3_errcode(to.db);
        }
    }
    if (rc != SQLITE_DONE || !QFile::rename(part, target)) {
        QFile::remove(part);
        logLine(QStringLiteral("backup of \"%1\" to \"%2\" not made (%3)")
                    .arg(dbPath, target, QString::fromUtf8(sqlite3_errstr(rc))));
        return false;
    }
    return true;
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
        if (QFileInfo(path).isFile() && isSound(path, Check::Quick))
            backUp(path, today);
    }
    return notices;
}
