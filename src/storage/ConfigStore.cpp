#include "storage/ConfigStore.h"

#include "core/Paths.h"
#include "storage/Database.h"
#include "storage/SiteStore.h"

ConfigRecord ConfigStore::read()
{
    auto db = Database::OpenDatabase(QV_Variaveis::ConfigDbPath);
    Recordset& rs =
        db->OpenRecordset(QStringLiteral("SELECT left,top,homeURL,homeTitulo,minimizado FROM "
                                         "Tabela1 where id=1"));
    if (rs.Eof())
        db->fail(QStringLiteral("a tabela Tabela1 não tem o registro de configuração (id=1)"));
    ConfigRecord r;
    r.left = rs.single(QStringLiteral("left"));
    r.top = rs.single(QStringLiteral("top"));
    r.homeURL = rs.text(QStringLiteral("homeURL"));
    r.homeTitulo = rs.text(QStringLiteral("homeTitulo"));
    r.minimizado = rs.int16(QStringLiteral("minimizado"));
    db->Close();
    return r;
}

namespace {

QString makeHomeSql(const QString& t, const QString& u)
{
    return QStringLiteral("UPDATE Tabela1 SET [homeTitulo]='") + t +
           QStringLiteral("', [homeURL]='") + u + QStringLiteral("' WHERE id=1");
}

QString positionSql(int x, int y)
{
    return QStringLiteral("UPDATE Tabela1 SET [left]='") + QString::number(x) +
           QStringLiteral("', [top]='") + QString::number(y) + QStringLiteral("' WHERE id=1");
}

QString minimizedSql(int flag)
{
    return QStringLiteral("UPDATE Tabela1 SET [minimizado]='") + QString::number(flag) +
           QStringLiteral("' WHERE id=1");
}

void update(const QString& sql)
{
    auto db = Database::OpenDatabase(QV_Variaveis::ConfigDbPath);
    if (db->Execute(sql) == 0)
        db->fail(QStringLiteral("o registro de configuração (id=1) não existe"), sql);
    db->Close();
}

} // namespace

void ConfigStore::setHome(const QString& title, const QString& url)
{
    update(makeHomeSql(EncodeSqlText(title), EncodeSqlText(url)));
}

void ConfigStore::setPosition(int leftTwips, int topTwips)
{
    update(positionSql(leftTwips, topTwips));
}

void ConfigStore::setStartMinimized(bool minimized) { update(minimizedSql(minimized ? 1 : 0)); }

std::optional<QString> ConfigStore::setting(const QString& key)
{
    auto db = Database::OpenDatabase(QV_Variaveis::ConfigDbPath);
    Recordset& table = db->OpenRecordset(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type='table' AND name='Ajustes' COLLATE NOCASE"));
    if (table.Eof())
        return std::nullopt;
    Recordset& rs = db->OpenRecordset(QStringLiteral("SELECT valor FROM Ajustes WHERE chave='") +
                                      EncodeSqlText(key) + u'\'');
    if (rs.Eof())
        return std::nullopt;
    return rs.textOrEmpty(QStringLiteral("valor"));
}
