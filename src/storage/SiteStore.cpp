#include "storage/SiteStore.h"

#include "core/Paths.h"
#include "core/QvError.h"
#include "storage/Database.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include <memory>

namespace {

QString listUrlsSql() { return QStringLiteral("SELECT url FROM Tabela1"); }

QString selectSiteSql(qint64 id)
{
    return QStringLiteral("select * from Tabela1 where id=") + QString::number(id);
}

QString selectUrlSql(qint64 id)
{
    return QStringLiteral("select url from Tabela1 where id=") + QString::number(id);
}

QString insertSql(const QString& t, const QString& u)
{
    return QStringLiteral("insert into Tabela1 (titulo1,url) values ('") + t +
           QStringLiteral("', '") + u + QStringLiteral("')");
}

QString updateSql(const QString& t, const QString& u, qint64 id)
{
    return QStringLiteral("UPDATE Tabela1 SET [titulo1]='") + t + QStringLiteral("', [url]='") + u +
           QStringLiteral("' WHERE id=") + QString::number(id);
}

QString deleteSql(qint64 id)
{
    return QStringLiteral("DELETE from Tabela1 WHERE id=") + QString::number(id);
}

// The one way the file is opened. Creating it is serialised: a suggestions thread and the
// window may both find it missing.
std::unique_ptr<Database> open(const QString& path)
{
    static QMutex creating;
    const QMutexLocker locked(&creating);
    if (!QFileInfo::exists(path)) {
        Database::createFolderFor(path);
        Database::createDatabase(path, SiteStore::schemaSql());
    }
    return Database::OpenDatabase(path);
}

std::unique_ptr<Database> openCurrent() { return open(QV_Variaveis::LinksDbPath); }

// A stored address as the list opens it.
QString openedAs(const QString& storedUrl) { return DecodeSqlText(storedUrl).trimmed(); }
// What an address is compared by: the text as the list would store it, then open it.
QString sameAddressKey(const QString& typedUrl) { return openedAs(EncodeSqlText(typedUrl)); }

QSet<QString> storedKeys(Database& db)
{
    QSet<QString> keys;
    Recordset& rs = db.OpenRecordset(listUrlsSql());
    const int url = rs.columnIndex(QStringLiteral("url"));
    for (; !rs.Eof(); rs.MoveNext())
        keys.insert(openedAs(rs.textAt(url)));
    rs.finalize();
    return keys;
}

// Rolls the transaction back unless it was committed; a failing rollback leaves the journal,
// which the engine rolls back on the next open.
class Transaction {
public:
    explicit Transaction(Database& db)
        : m_db(db)
    {
        m_db.Execute(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~Transaction()
    {
        if (m_open) {
            try {
                m_db.Execute(QStringLiteral("ROLLBACK"));
            } catch (...) {
            }
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit()
    {
        m_db.Execute(QStringLiteral("COMMIT"));
        m_open = false;
    }

private:
    Database& m_db;
    bool m_open = true;
};

qint64 insertRow(Database& db, const QString& title, const QString& url)
{
    db.Execute(insertSql(EncodeSqlText(title), EncodeSqlText(url)));
    return db.lastInsertId();
}

BookmarkSites::Outcome addNewLinks(Database& db, const std::vector<BookmarkFile::Link>& links)
{
    BookmarkSites::Outcome o;
    Transaction tx(db);
    QSet<QString> seen = storedKeys(db);
    for (const BookmarkFile::Link& link : links) {
        if (!BookmarkSites::isImportableUrl(link.url)) {
            ++o.invalid;
            continue;
        }
        const QString key = sameAddressKey(link.url);
        if (seen.contains(key)) {
            ++o.duplicates;
            continue;
        }
        seen.insert(key);
        o.ids.append(insertRow(db, link.title.isEmpty() ? link.url : link.title, link.url));
        ++o.imported;
        if (link.inFolder)
            ++o.fromFolders;
    }
    tx.commit();
    return o;
}

SiteStore::Listing readListing(Database& db)
{
    Recordset& rs = db.OpenRecordset(SiteStore::listAllSql());
    const int idColumn = rs.columnIndex(QStringLiteral("id"));
    const int titleColumn = rs.columnIndex(QStringLiteral("titulo1"));
    SiteStore::Listing l;
    for (; !rs.Eof(); rs.MoveNext()) {
        l.titles.append(rs.textAt(titleColumn));
        l.ids.push_back(rs.int64At(idColumn));
    }
    rs.finalize();
    return l;
}

} // namespace

SiteStore& SiteStore::instance()
{
    static SiteStore store;
    return store;
}

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

SiteStore::Listing SiteStore::listing() const
{
    auto db = openCurrent();
    return readListing(*db);
}

SiteStore::Site SiteStore::site(qint64 id) const
{
    auto db = openCurrent();
    Recordset& rs = db->OpenRecordset(selectSiteSql(id));
    if (rs.Eof())
        db->fail(QStringLiteral("o item %1 não existe mais").arg(id));
    return {DecodeSqlText(rs.textOrEmpty(QStringLiteral("titulo1"))),
            DecodeSqlText(rs.textOrEmpty(QStringLiteral("url")))};
}

std::optional<QString> SiteStore::openingAddress(qint64 id) const
{
    auto db = openCurrent();
    Recordset& rs = db->OpenRecordset(selectUrlSql(id));
    if (rs.Eof())
        return std::nullopt;
    return openedAs(rs.textOrEmpty(QStringLiteral("url")));
}

qint64 SiteStore::insert(const QString& title, const QString& url)
{
    qint64 id;
    {
        auto db = openCurrent();
        id = insertRow(*db, title, url);
    }
    Q_EMIT siteAdded(id);
    return id;
}

bool SiteStore::update(qint64 id, const QString& title, const QString& url)
{
    int changed;
    {
        auto db = openCurrent();
        changed = db->Execute(updateSql(EncodeSqlText(title), EncodeSqlText(url), id));
    }
    if (changed == 0)
        return false;
    Q_EMIT siteChanged(id);
    return true;
}

void SiteStore::remove(const QList<qint64>& ids)
{
    QList<qint64> deleted;
    try {
        auto db = openCurrent();
        for (qint64 id : ids) {
            db->Execute(deleteSql(id));
            deleted.append(id);
        }
    } catch (const QvError&) {
        // The windows show the table as it now is, then the error is told.
        if (!deleted.isEmpty())
            Q_EMIT sitesRemoved(deleted);
        throw;
    }
    Q_EMIT sitesRemoved(deleted);
}

std::optional<qint64> SiteStore::insertIfNew(const QString& title, const QString& url)
{
    qint64 id;
    {
        auto db = openCurrent();
        Transaction tx(*db);
        if (storedKeys(*db).contains(sameAddressKey(url)))
            return std::nullopt;
        id = insertRow(*db, title, url);
        tx.commit();
    }
    Q_EMIT siteAdded(id);
    return id;
}

BookmarkSites::Outcome SiteStore::importLinks(const QString& linksPath,
                                              const std::vector<BookmarkFile::Link>& links)
{
    auto db = open(linksPath);
    const BookmarkSites::Outcome o = addNewLinks(*db, links);
    if (o.imported > 0) {
        const Listing after = readListing(*db);
        db->Close();
        Q_EMIT sitesImported(o.ids, after);
    }
    return o;
}

std::vector<SiteStore::Site> SiteStore::sites(const QString& linksPath, Addresses addresses)
{
    auto db = open(linksPath);
    std::vector<Site> sites;
    Recordset& rs = db->OpenRecordset(listAllSql());
    const int title = rs.columnIndex(QStringLiteral("titulo1"));
    const int url = rs.columnIndex(QStringLiteral("url"));
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString stored = rs.textAt(url);
        sites.push_back({DecodeSqlText(rs.textAt(title)), addresses == Addresses::ForOpening
                                                              ? openedAs(stored)
                                                              : DecodeSqlText(stored)});
    }
    return sites;
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
