#pragma once

#include <QString>

// Where the program's files lie: everything is below the application directory.
namespace QV_Variaveis {

extern QString ConfigDbPath;
extern QString LinksDbPath;

// Sets ConfigDbPath and LinksDbPath from the application directory; always the same values.
void SetDatabasePaths();

} // namespace QV_Variaveis

// The folder of the running executable, without a trailing separator.
QString applicationDir();
// Tests run the program's logic against a folder of their own.
void setApplicationDirForTesting(const QString& dir);

// "\BD\" and "\ReadMe\" are joined with the platform's separator; a backslash is an ordinary
// file-name character on Linux.
QString dbFolderLiteral();
QString readMeFolderLiteral();
