#pragma once

#include <QString>

#include <optional>

class QDir;

// File names for what the web engine downloads or prints: whatever the server suggests or the
// page is titled, the result is a plain name inside the download folder.
namespace DownloadNames {

// The last path component of `suggested` without control characters, leading dots or
// surrounding blanks, cut to a length every Linux file system takes; "download" when nothing
// usable is left.
QString safeName(const QString& suggested);

// The PDF a page titled `title` is printed to: the title with slashes as dashes, cleaned as
// safeName cleans, and ".pdf"; "pagina.pdf" when nothing usable is left.
QString pdfName(const QString& title);

// `name` if no entry of `dir` carries it, else the first free "stem (N).ext".
QString freeName(const QDir& dir, const QString& name);

// A hidden name in `dir` that no entry carries, for the file while it is being written.
QString partName(const QDir& dir);

// Why `folder` cannot take a file (it is missing, not a folder, or read-only), in words for a
// notice; nothing when it can. The user's folders are as they are: this is an answer, not an
// error.
std::optional<QString> folderProblem(const QString& folder);

// What a file is saved for; the notices say it.
enum class Kind { Download, Print };

// The notice of a file `name` that could not be saved, for `reason`: "Não foi possível baixar
// NAME: REASON." (or "imprimir").
QString failure(Kind kind, const QString& name, const QString& reason);

// Renames the finished file `partPath` inside `dir` to freeName(dir, name), never replacing a
// file (a name taken meanwhile moves on to the next), and returns the name. When it cannot, the
// file is removed and QvError carries failure(kind, name, ...), the words of the notice.
QString keep(const QDir& dir, const QString& partPath, const QString& name, Kind kind);

} // namespace DownloadNames
