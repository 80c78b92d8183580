#pragma once

#include <QString>

class QDir;

// File names for what the web engine downloads: whatever the server suggests, the result is a
// plain name inside the download folder.
namespace DownloadNames {

// The last path component of `suggested` without control characters, leading dots or
// surrounding blanks, cut to a length every Linux file system takes; "download" when nothing
// usable is left.
QString safeName(const QString& suggested);

// `name` if no entry of `dir` carries it, else the first free "stem (N).ext".
QString freeName(const QDir& dir, const QString& name);

// A hidden name in `dir` that no entry carries, for the file while it is being written.
QString partName(const QDir& dir);

} // namespace DownloadNames
