#pragma once

#include "storage/BookmarkFile.h"

#include <QList>
#include <QString>

// What the saved sites take from bookmarks (a file, a drop, a paste), and the notice after an
// import. The links are added by SiteStore::importLinks.
namespace BookmarkSites {

struct Outcome {
    int imported = 0;
    int duplicates = 0;  // already in the list, or a second copy in the same file
    int invalid = 0;     // empty, place:, javascript:, or longer than kMaxAddressLength
    int fromFolders = 0; // of the imported ones
    QList<qint64> ids;   // the new rows, in the order of the links
};

bool isImportableUrl(const QString& url);

// The notice after an import: "N sites importados, M repetidos ignorados, K endereços inválidos
// ignorados." and how many came from folders.
QString summary(const Outcome& outcome);

} // namespace BookmarkSites
