#include "core/Paths.h"

#include <QCoreApplication>

namespace QV_Variaveis {
QString ConfigDbPath;
QString LinksDbPath;
QString HistoryDbPath;
QString SessionDbPath;

void SetDatabasePaths()
{
    ConfigDbPath = databaseFolder() + QStringLiteral("QV_Config.mdb");
    LinksDbPath = databaseFolder() + QStringLiteral("QV_Links.mdb");
    HistoryDbPath = databaseFolder() + QStringLiteral("QV_Historico.mdb");
    SessionDbPath = databaseFolder() + QStringLiteral("QV_Sessao.mdb");
}
} // namespace QV_Variaveis

namespace {
QString& testDir()
{
    static QString dir;
    return dir;
}

QString& chosenDbFolder()
{
    static QString dir;
    return dir;
}
} // namespace

QString applicationDir()
{
    if (!testDir().isEmpty())
        return testDir();
    return QCoreApplication::applicationDirPath();
}

void setApplicationDirForTesting(const QString& dir)
{
    testDir() = dir;
    chosenDbFolder().clear();
}

QString databaseFolder()
{
    if (!chosenDbFolder().isEmpty())
        return chosenDbFolder();
    return applicationDir() + dbFolderLiteral();
}

void setDatabaseFolder(const QString& folder) { chosenDbFolder() = folder; }

QString dbFolderLiteral()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\BD\\");
#else
    return QStringLiteral("/BD/");
#endif
}

QString readMeFolderLiteral()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\ReadMe\\");
#else
    return QStringLiteral("/ReadMe/");
#endif
}
