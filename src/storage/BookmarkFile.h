#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The bookmark file every desktop browser reads and writes (doctype NETSCAPE-Bookmark-file-1):
// links in nested <DL> folders. Reading flattens the folders; writing gives one flat folder.
namespace BookmarkFile {

struct Link {
    QString title; // the link's text, trimmed, line breaks as spaces; may be empty
    QString url;   // the HREF as written, entities decoded, trimmed
    bool inFolder = false;
};

struct Parsed {
    std::vector<Link> links;
    bool hasDoctype = false;
    bool hadInvalidText = false; // bytes that were not UTF-8, or NULs, were replaced
    bool tooManyLinks = false;   // parsing stopped at kMaxLinks
};

// Limits of what a bookmark file may hold; beyond them nothing is imported.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
constexpr int kMaxLinks = 100000;

// Parses bytes as HTML (recovering from any damage, no network): every <A HREF> with its
// text. Invalid UTF-8 becomes U+FFFD and NUL bytes are dropped first.
Parsed parse(QByteArray bytes);

// Reads and checks a file: a regular file, at most kMaxFileBytes, with the doctype or at least
// one link, and at most kMaxLinks links. Any other file is a QvError whose sentence names it (by
// its name, without the folder) and ends "nada foi importado.".
Parsed load(const QString& path);

struct Site {
    QString title;
    QString url;
};

// A whole bookmark file of the sites in order, as the browsers write theirs; addDate is the
// ADD_DATE of every link (seconds since 1970).
QByteArray write(const std::vector<Site>& sites, qint64 addDate);

// Writes the file under a temporary name in the same folder and renames it when whole. A failure
// leaves no file behind and is a QvError whose sentence names the file (its name).
void save(const QString& path, const std::vector<Site>& sites, qint64 addDate);

} // namespace BookmarkFile
