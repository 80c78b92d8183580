#include "storage/SiteStore.h"

#include "core/Paths.h"
#include "storage/Database.h"

#include "core/QvError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString SiteStore::schemaSql()
{
    QFile f(QStringLiteral(":/sql/QV_Links_schema.sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw QvError(QStringLiteral("o esquema da lista de sites falta no programa"));
    return QString::fromUtf8(f.readAll());
}

QString SiteStore::listAllSql()
{
    return QStringLiteral("SELECT id,titulo1,url FROM Tabela1 order by titulo1 asc");
}

QString SiteStore::listUrlsSql() { return QStringLiteral("SELECT url FROM Tabela1"); }

QString SiteStore::selectSiteSql(qint64 id)
{
    return QStringLiteral("select * from Tabela1 where id=") + QString::number(id);
}

QString SiteStore::selectUrlSql(qint64 id)
{
    return QStringLiteral("select url from Tabela1 where id=") + QString::number(id);
}

QString SiteStore::insertSql(const QString& t, const QString& u)
{
    return QStringLiteral("insert into Tabela1 (titulo1,url) values ('") + t +
           QStringLiteral("', '") + u + QStringLiteral("')");
}

QString SiteStore::updateSql(const QString& t, const QString& u, qint64 id)
{
    return QStringLiteral("UPDATE Tabela1 SET [titulo1]='") + t + QStringLiteral("', [url]='") + u +
           QStringLiteral("' WHERE id=") + QString::number(id);
}

QString SiteStore::deleteSql(qint64 id)
{
    return QStringLiteral("DELETE from Tabela1 WHERE id=") + QString::number(id);
}

QString SiteStore::selectByUrlSql(const QString& u)
{
    return QStringLiteral("select id from Tabela1 where trim(url)='") + u + QStringLiteral("'");
}

std::optional<qint64> SiteStore::insertIfNew(const QString& t, const QString& u)
{
    auto db = open();
    if (!db->OpenRecordset(selectByUrlSql(u)).Eof())
        return std::nullopt;
    db->Execute(insertSql(t, u));
    return db->lastInsertId();
}

SiteStore::Listing SiteStore::readListing(Database& db)
{
    Recordset& rs = db.OpenRecordset(listAllSql());
    const int idColumn = rs.columnIndex(QStringLiteral("id"));
    const int titleColumn = rs.columnIndex(QStringLiteral("titulo1"));
    Listing l;
    for (; !rs.Eof(); rs.MoveNext()) {
        l.titles.append(rs.textAt(titleColumn));
        l.ids.push_back(rs.int64At(idColumn));
    }
    rs.finalize();
    return l;
}

std::unique_ptr<Database> SiteStore::open()
{
    const QString& path = QV_Variaveis::LinksDbPath;
    if (!QFileInfo::exists(path)) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(folder))
            throw QvError(QStringLiteral("Banco de dados \"%1\": não foi possível criar a pasta "
                                         "\"%2\".\nO que fazer: verifique as permissões da pasta.")
                              .arg(path, folder));
        Database::createDatabase(path, schemaSql());
    }
    return Database::OpenDatabase(path);
}

QString EncodeSqlText(QString text)
{
    text.replace(QLatin1String("'"), QLatin1String("''"));
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(QLatin1String("\t"), QLatin1String("\\t"));
    return text;
}

QString DecodeSqlText(QString text)
{
    text.replace(QLatin1String("''"), QLatin1String("'"));
    text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    text.replace(QLatin1String("\\t"), QLatin1String("\t"));
    return text;
}
