#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// Daily copies of the databases in backup/ beside them, and the self-restore of a damaged
// database from its newest good copy. The folders always follow QV_Variaveis::LinksDbPath and
// ConfigDbPath (and the history's HistoryDbPath), wherever those point.
namespace Backups {

inline constexpr int kKept = 7;

// At start-up, before the first write: restores a damaged database, then copies each once a
// calendar day. Returns the notices of the restores done (none, usually). A copy that cannot be
// written costs one line in the log, never the start.
QStringList atStartup(const QDate& today = QDate::currentDate());

// When the database at dbPath cannot be read or fails its quick check, keeps it under a new
// name (".danificado-YYYY-MM-DD-HHMMSS") and puts the newest backup that passes the integrity
// check in its place. Returns the notice, or an empty text when nothing was restored (a sound
// file, a missing one, or no good backup: then the file is left exactly as it is). Throws
// QvError, naming the files, when the damaged file or its journal cannot be moved aside or the
// copy cannot be put in place; everything moved is put back first.
QString restoreIfDamaged(const QString& dbPath);

// Copies the database with the engine's online backup into backup/NAME-YYYY-MM-DD.mdb unless a
// copy of that day or a later one exists (a clock set back never overwrites a newer copy); keeps
// the newest kKept, also when no copy was made. Throws QvError naming the file when the copy
// cannot be made or an older one cannot be removed.
void backUp(const QString& dbPath, const QDate& today);

// The backups of a database, newest first.
QStringList backupsOf(const QString& dbPath);

// PRAGMA quick_check (or integrity_check) says "ok"; a file that cannot be read is not sound.
// A file held locked by another program counts as sound: nothing can be decided about it.
enum class Check { Quick, Integrity };
bool isSound(const QString& dbPath, Check check);

} // namespace Backups
