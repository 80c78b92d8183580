#include "storage/BookmarkSites.h"

#include "storage/Database.h"
#include "storage/SiteStore.h"

#include <QSet>

namespace BookmarkSites {

bool isImportableUrl(const QString& url)
{
    if (url.isEmpty() || url.size() > kMaxUrlLength)
        return false;
    return !url.startsWith(QLatin1String("place:"), Qt::CaseInsensitive) &&
           !url.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive);
}

QString comparisonKey(const QString& typedUrl)
{
    return DecodeSqlText(EncodeSqlText(typedUrl)).trimmed();
}

namespace {

QSet<QString> storedKeys(Database& db)
{
    QSet<QString> keys;
    Recordset& rs = db.OpenRecordset(SiteStore::listUrlsSql());
    const int url = rs.columnIndex(QStringLiteral("url"));
    for (; !rs.Eof(); rs.MoveNext())
        keys.insert(DecodeSqlText(rs.textAt(url)).trimmed());
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
    void commit()
    {
        m_db.Execute(QStringLiteral("COMMIT"));
        m_open = false;
    }

private:
    Database& m_db;
    bool m_open = true;
};

} // namespace

Outcome addLinks(Database& db, const std::vector<BookmarkFile::Link>& links)
{
    Outcome o;
    Transaction tx(db);
    QSet<QString> seen = storedKeys(db);
    for (const BookmarkFile::Link& link : links) {
        if (!isImportableUrl(link.url)) {
            ++o.invalid;
            continue;
        }
        const QString key = comparisonKey(link.url);
        if (seen.contains(key)) {
            ++o.duplicates;
            continue;
        }
        seen.insert(key);
        const QString title = link.title.isEmpty() ? link.url : link.title;
        db.Execute(SiteStore::insertSql(EncodeSqlText(title), EncodeSqlText(link.url)));
        o.ids.append(db.lastInsertId());
        ++o.imported;
        if (link.inFolder)
            ++o.fromFolders;
    }
    tx.commit();
    return o;
}

std::vector<BookmarkFile::Site> listedSites(Database& db)
{
    std::vector<BookmarkFile::Site> sites;
    Recordset& rs = db.OpenRecordset(SiteStore::listAllSql());
    const int title = rs.columnIndex(QStringLiteral("titulo1"));
    const int url = rs.columnIndex(QStringLiteral("url"));
    for (; !rs.Eof(); rs.MoveNext())
        sites.push_back({DecodeSqlText(rs.textAt(title)), DecodeSqlText(rs.textAt(url))});
    rs.finalize();
    return sites;
}

namespace {
QString counted(int n, const char* one, const char* many)
{
    return QString::number(n) + u' ' + QString::fromUtf8(n == 1 ? one : many);
}
} // namespace

QString summary(const Outcome& o)
{
    QString text =
        counted(o.imported, "site importado", "sites importados") + QStringLiteral(", ") +
        counted(o.duplicates, "repetido ignorado", "repetidos ignorados") + QStringLiteral(", ") +
        counted(o.invalid, "endereço inválido ignorado", "endereços inválidos ignorados") + u'.';
    // The list has no folders: say how many links left theirs.
    if (o.fromFolders == 1)
        text += QStringLiteral(" 1 estava numa pasta.");
    else if (o.fromFolders > 1)
        text += QStringLiteral(" %1 estavam em pastas.").arg(o.fromFolders);
    return text;
}

} // namespace BookmarkSites
