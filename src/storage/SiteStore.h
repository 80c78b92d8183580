#pragma once

#include "storage/BookmarkSites.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>
#include <vector>

// The saved sites: table Tabela1 of QV_Links.mdb, one row per site (id, titulo1, url), and the
// one owner of that table. Every statement on it runs here, on a file opened one way: a missing
// QV_Links.mdb (and its folder) is created empty with its table; any other file is opened as it
// is, and one that is damaged or not a database is an error naming it. Texts are stored encoded
// (EncodeSqlText) and given back decoded, except the list's titles, which it shows as stored.
//
// Two addresses are the same site when the list opens them alike: decoded, without the blanks
// around them. Ctrl+D, an import and a drop all skip an address the list already holds by that
// rule, and the suggestions take saved addresses in that form.
//
// Changes are announced with the signals below, from the thread that made them (an import runs
// off the window's thread): connect with the automatic connection type.
class SiteStore : public QObject {
    Q_OBJECT
public:
    // The one store of the process. Operations without a path work on the file at
    // QV_Variaveis::LinksDbPath as it is when called, from the window's thread.
    static SiteStore& instance();

    // The rows of the listing statement, in its order: stored titles and their ids.
    struct Listing {
        QList<QString> titles;
        std::vector<qint64> ids;
    };
    using Site = BookmarkFile::Site;
    // How a list of sites gives its addresses: decoded as stored (an export keeps them whole),
    // or as the list opens them (decoded and trimmed).
    enum class Addresses { AsStored, ForOpening };

    // The CREATE TABLE statement of Tabela1 (assets/sql/QV_Links_schema.sql).
    static QString schemaSql();
    // The listing statement (tools time the engine on it).
    static QString listAllSql();

    Listing listing() const;
    // One row, decoded; a row that is gone is an error naming the file.
    Site site(qint64 id) const;
    // A row's address as the list opens it (decoded and trimmed); nothing when the row is gone.
    std::optional<QString> openingAddress(qint64 id) const;

    // A site as typed; returns the new row's id.
    qint64 insert(const QString& title, const QString& url);
    // Returns whether a row had that id: one deleted meanwhile (by another copy of the program)
    // is not updated, and nothing is announced.
    bool update(qint64 id, const QString& title, const QString& url);
    // One statement per row. On a failure, which is raised, what was deleted stays deleted and
    // is announced first.
    void remove(const QList<qint64>& ids);
    // Adds a page (Ctrl+D) unless the list holds the same address; returns the new row's id, or
    // nothing when the address was there.
    std::optional<qint64> insertIfNew(const QString& title, const QString& url);

    // From any thread, on the file at linksPath (read by the caller on the window's thread).
    // Adds the importable links that are new, between BEGIN IMMEDIATE and COMMIT: all of them
    // or, on any failure (which is raised), none. A link without a title gets its address.
    BookmarkSites::Outcome importLinks(const QString& linksPath,
                                       const std::vector<BookmarkFile::Link>& links);
    // Every site in list order, titles decoded.
    static std::vector<Site> sites(const QString& linksPath, Addresses addresses);

Q_SIGNALS:
    // A row was inserted (the window's insert, Ctrl+D) or changed: the row to bring into view.
    void siteAdded(qint64 id);
    void siteChanged(qint64 id);
    // Rows were deleted.
    void sitesRemoved(const QList<qint64>& ids);
    // An import added rows (ids in the order of the links); `listing` is the whole list after
    // it, read on the importing thread so that a long list does not hold the window.
    void sitesImported(const QList<qint64>& ids, const SiteStore::Listing& listing);

private:
    SiteStore() = default;
};

// Apostrophes doubled, CR LF stored as backslash-n, tab as backslash-t.
QString EncodeSqlText(QString text);
// The reverse: '' to ', backslash-n to CR LF, backslash-t to tab.
QString DecodeSqlText(QString text);
