#include "sites/ConfigStore.h"

#include "app/Database.h"
#include "app/Paths.h"

QString ConfigStore::makeHomeSql(const QString& t, const QString& u)
{
    return QStringLiteral("UPDATE Tabela1 SET [homeTitulo]='") + t +
           QStringLiteral("', [homeURL]='") + u + QStringLiteral("' WHERE id=1");
}

QString ConfigStore::positionSql(int x, int y)
{
    return QStringLiteral("UPDATE Tabela1 SET [left]='") + QString::number(x) +
           QStringLiteral("', [top]='") + QString::number(y) + QStringLiteral("' WHERE id=1");
}

QString ConfigStore::minimizedSql(int flag)
{
    return QStringLiteral("UPDATE Tabela1 SET [minimizado]='") + QString::number(flag) +
           QStringLiteral("' WHERE id=1");
}

void ConfigStore::update(const QString& sql)
{
    auto db = Database::OpenDatabase(QV_Variaveis::ConfigDbPath);
    if (db->Execute(sql) == 0)
        db->fail(QStringLiteral("o registro de configuração (id=1) não existe"), sql);
    db->Close();
}
