#include "core/DataFolder.h"

#include "core/Paths.h"
#include "core/QvError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {
void copyOnce(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        return;
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw QvError(QStringLiteral("O banco de dados fornecido \"%1\" não pode ser lido: %2")
                          .arg(from, source.errorString()));
    QTemporaryFile copy(to + QStringLiteral(".XXXXXX"));
    if (!copy.open())
        throw QvError(QStringLiteral("Não foi possível criar \"%1\": %2")
                          .arg(copy.fileTemplate(), copy.errorString()));
    const QByteArray bytes = source.readAll();
    if (source.error() != QFile::NoError || copy.write(bytes) != bytes.size() || !copy.flush())
        throw QvError(QStringLiteral("Não foi possível copiar \"%1\" para \"%2\": %3")
                          .arg(from, copy.fileName(), copy.errorString()));
    // A rename never replaces an existing file: another start that got there first wins.
    if (copy.rename(to))
        copy.setAutoRemove(false);
    else if (!QFileInfo::exists(to))
        throw QvError(
            QStringLiteral("Não foi possível gravar \"%1\": %2").arg(to, copy.errorString()));
}
} // namespace

const QStringList& DataFolder::databaseNames()
{
    static const QStringList names{QStringLiteral("QV_Config.mdb"), QStringLiteral("QV_Links.mdb")};
    return names;
}

QString DataFolder::choose(const QString& shipped)
{
    const QString folder = writable(shipped) ? shipped : seedPerUser(shipped, dataHome());
    setDatabaseFolder(folder);
    return folder;
}

QString DataFolder::seedPerUser(const QString& shipped, const QString& dataHome)
{
    const QString folder = dataHome + QStringLiteral("/quorvane/BD/");
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw QvError(
            QStringLiteral("Não foi possível criar a pasta de dados \"%1\".").arg(folder));
    if (!writable(folder))
        throw QvError(QStringLiteral("A pasta de dados \"%1\" é somente leitura.").arg(folder));
    for (const QString& name : databaseNames())
        copyOnce(shipped + name, folder + name);
    return folder;
}

QString DataFolder::dataHome()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

bool DataFolder::writable(const QString& folder)
{
    const QFileInfo dir(folder);
    if (!dir.isDir() || !dir.isWritable())
        return false;
    for (const QString& name : databaseNames()) {
        const QFileInfo file(folder + name);
        if (file.exists() && !file.isWritable())
            return false;
    }
    return true;
}
