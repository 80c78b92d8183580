#include "storage/PermissionStore.h"

#include "core/Paths.h"
#include "storage/Database.h"

#include <QDateTime>

#include <array>
#include <memory>

namespace {

constexpr char16_t kAllow[] = u"permitir";
constexpr char16_t kDeny[] = u"negar";

QString createSql()
{
    return QStringLiteral("CREATE TABLE Permissoes (origem TEXT, recurso TEXT, decisao TEXT, "
                          "quando INTEGER, PRIMARY KEY(origem, recurso))");
}

QString quoted(const QString& text)
{
    return u'\'' + QString(text).replace(QStringLiteral("'"), QStringLiteral("''")) + u'\'';
}

QString selectSql(const QString& origin, const QString& kind)
{
    return QStringLiteral("SELECT decisao FROM Permissoes WHERE origem=") + quoted(origin) +
           QStringLiteral(" AND recurso=") + quoted(kind);
}

QString allowedSql(const QString& kind)
{
    return QStringLiteral("SELECT origem FROM Permissoes WHERE recurso=") + quoted(kind) +
           QStringLiteral(" AND decisao=") + quoted(QString::fromUtf16(kAllow));
}

QString replaceSql(const QString& origin, const QString& kind, const QString& decision, qint64 when)
{
    return QStringLiteral("INSERT OR REPLACE INTO Permissoes (origem, recurso, decisao, quando) "
                          "VALUES (") +
           quoted(origin) + u',' + quoted(kind) + u',' + quoted(decision) + u',' +
           QString::number(when) + u')';
}

// The columns the statements use, each with its place in the primary key (0: not in it).
void checkShape(Database& db)
{
    struct Column {
        const char16_t* name;
        int key;
    };
    constexpr std::array<Column, 4> wanted{
        {{u"origem", 1}, {u"recurso", 2}, {u"decisao", 0}, {u"quando", 0}}};
    Recordset& rs = db.OpenRecordset(QStringLiteral("PRAGMA table_info(Permissoes)"));
    int found = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString name = rs.textOrEmpty(QStringLiteral("name"));
        const qint32 key = rs.int32(QStringLiteral("pk"));
        for (const Column& c : wanted)
            found += name.compare(QStringView(c.name), Qt::CaseInsensitive) == 0 && key == c.key;
    }
    if (found != int(wanted.size()))
        db.fail(QStringLiteral("a tabela Permissoes não tem as colunas origem, recurso, decisao "
                               "e quando, com a chave (origem, recurso)"));
}

// The one way the table is reached: the configuration file, which must exist, with the table
// made when it is missing and left as it is, with an error, when it has another shape.
std::unique_ptr<Database> open()
{
    auto db = Database::OpenDatabase(QV_Variaveis::ConfigDbPath);
    Recordset& table = db->OpenRecordset(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type='table' AND name='Permissoes' COLLATE NOCASE"));
    const bool missing = table.Eof();
    table.finalize();
    if (missing)
        db->Execute(createSql());
    else
        checkShape(*db);
    return db;
}

} // namespace

std::optional<PermissionStore::Decision> PermissionStore::decision(const QString& origin,
                                                                   const QString& kind)
{
    auto db = open();
    const QString sql = selectSql(origin, kind);
    Recordset& rs = db->OpenRecordset(sql);
    if (rs.Eof())
        return std::nullopt;
    const QString value = rs.textOrEmpty(QStringLiteral("decisao"));
    if (value == QStringView(kAllow))
        return Decision::Allow;
    if (value == QStringView(kDeny))
        return Decision::Deny;
    db->fail(QStringLiteral("a decisão guardada na tabela Permissoes para %1 (%2) não é "
                            "\"permitir\" nem \"negar\"")
                 .arg(origin, kind),
             sql);
}

QStringList PermissionStore::allowedOrigins(const QString& kind)
{
    auto db = open();
    QStringList origins;
    Recordset& rs = db->OpenRecordset(allowedSql(kind));
    for (; !rs.Eof(); rs.MoveNext())
        origins.append(rs.textOrEmpty(QStringLiteral("origem")));
    return origins;
}

void PermissionStore::remember(const QString& origin, const QString& kind, Decision decision)
{
    auto db = open();
    const QString value = QString::fromUtf16(decision == Decision::Allow ? kAllow : kDeny);
    const QString sql = replaceSql(origin, kind, value, QDateTime::currentSecsSinceEpoch());
    if (db->Execute(sql) == 0)
        db->fail(QStringLiteral("a decisão para %1 (%2) não foi gravada").arg(origin, kind), sql);
    db->Close();
}

PermissionStore::Notifier& PermissionStore::notifier()
{
    static Notifier n;
    return n;
}
