#pragma once

#include "storage/BookmarkFile.h"

#include <QList>
#include <QString>

class Database;

// The saved sites as bookmarks: links added as the administration window's insert stores a
// typed row, skipping addresses the list already holds, all in one transaction; and every site
// in list order, for an export.
namespace BookmarkSites {

struct Outcome {
    int imported = 0;
    int duplicates = 0;  // already in the list, or a second copy in the same file
    int invalid = 0;     // empty, place:, javascript:, or longer than kMaxUrlLength
    int fromFolders = 0; // of the imported ones
    QList<qint64> ids;   // the new rows, in the order of the links
};

// Longer addresses are not taken: no site needs them, and they are most likely damage.
constexpr int kMaxUrlLength = 16384;

bool isImportableUrl(const QString& url);
// What two addresses are compared by: the text as the list stores and reads it back, trimmed.
QString comparisonKey(const QString& typedUrl);

// Inserts the new links between BEGIN IMMEDIATE and COMMIT: all of them or, on any failure
// (which is raised), none. A link without a title gets its address as title.
Outcome addLinks(Database& db, const std::vector<BookmarkFile::Link>& links);

// Every site in list order (the listing statement), titles and addresses decoded.
std::vector<BookmarkFile::Site> listedSites(Database& db);

// The notice after an import: "N sites importados, M repetidos ignorados, K endereços inválidos
// ignorados." and how many came from folders.
QString summary(const Outcome& outcome);

} // namespace BookmarkSites
