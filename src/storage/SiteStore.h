#pragma once

#include <QString>

#include <QList>

#include <memory>
#include <optional>
#include <vector>

class Database;

// The saved sites: table Tabela1 of QV_Links.mdb, one row per site (id, titulo1, url).
// Statements are plain texts; text values between apostrophes go through EncodeSqlText.
namespace SiteStore {

// The CREATE TABLE statement of Tabela1 (assets/sql/QV_Links_schema.sql).
QString schemaSql();
QString listAllSql();
// Every stored address, for telling an imported one that is already there.
QString listUrlsSql();
QString selectSiteSql(qint64 id);
QString selectUrlSql(qint64 id);
QString insertSql(const QString& encodedTitle, const QString& encodedUrl);
QString updateSql(const QString& encodedTitle, const QString& encodedUrl, qint64 id);
QString deleteSql(qint64 id);
// The rows whose address, without surrounding blanks, is `encodedUrl`.
QString selectByUrlSql(const QString& encodedUrl);

// The rows of the listing statement, in its order: stored titles and their ids.
struct Listing {
    QList<QString> titles;
    std::vector<qint64> ids;
};
Listing readListing(Database& db);

// Opens QV_Links.mdb at LinksDbPath; a missing file is created empty with its table.
std::unique_ptr<Database> open();

// Inserts a site, already encoded, unless a row holds the same address (blanks around a stored
// one do not count); returns the new row's id, or nothing when the address was there.
std::optional<qint64> insertIfNew(const QString& encodedTitle, const QString& encodedUrl);

} // namespace SiteStore

// Apostrophes doubled, CR LF stored as backslash-n, tab as backslash-t.
QString EncodeSqlText(QString text);
// The reverse: '' to ', backslash-n to CR LF, backslash-t to tab.
QString DecodeSqlText(QString text);
