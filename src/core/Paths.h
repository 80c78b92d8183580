#pragma once

#include <QString>

// Where the program's files lie: below the application directory, except the databases, which
// may live in a per-user folder (see DataFolder).
namespace QV_Variaveis {

extern QString ConfigDbPath;
extern QString LinksDbPath;
extern QString HistoryDbPath;
extern QString SessionDbPath;

// Sets ConfigDbPath, LinksDbPath, HistoryDbPath and SessionDbPath in the database folder;
// always the same values. They are the one truth of where the databases are.
void SetDatabasePaths();

} // namespace QV_Variaveis

// The folder of the running executable, without a trailing separator.
QString applicationDir();
// Tests run the program's logic against a folder of their own.
void setApplicationDirForTesting(const QString& dir);

// The folder holding the databases, with a trailing separator: the application directory's BD/
// unless start-up chose another (setting it again to an empty text goes back to that).
QString databaseFolder();
void setDatabaseFolder(const QString& folder);

// "\BD\" and "\ReadMe\" are joined with the platform's separator; a backslash is an ordinary
// file-name character on Linux.
QString dbFolderLiteral();
QString readMeFolderLiteral();
