#include "core/DownloadNames.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace {
// Names are stored as UTF-8; 255 bytes is the usual limit, and " (999)" must still fit.
constexpr int kMaxNameBytes = 200;

QString cutToBytes(QString name)
{
    const QString suffix = QFileInfo(name).suffix();
    const QString ext = suffix.isEmpty() || suffix.size() > 16 ? QString() : u'.' + suffix;
    QString stem = name.left(name.size() - ext.size());
    while (!stem.isEmpty() && (stem + ext).toUtf8().size() > kMaxNameBytes)
        stem.chop(1);
    return stem + ext;
}
} // namespace

QString DownloadNames::safeName(const QString& suggested)
{
    QString name = suggested;
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    name = name.mid(slash + 1);
    QString clean;
    for (QChar c : std::as_const(name)) {
        const QChar::Category kind = c.category();
        if (kind != QChar::Other_Control && kind != QChar::Other_Format &&
            kind != QChar::Separator_Line && kind != QChar::Separator_Paragraph)
            clean.append(c);
    }
    clean = clean.trimmed();
    while (clean.startsWith(u'.'))
        clean.remove(0, 1);
    clean = cutToBytes(clean.trimmed());
    return clean.isEmpty() ? QStringLiteral("download") : clean;
}

QString DownloadNames::freeName(const QDir& dir, const QString& name)
{
    if (!QFileInfo::exists(dir.filePath(name)))
        return name;
    const QString suffix = QFileInfo(name).suffix();
    const QString ext = suffix.isEmpty() ? QString() : u'.' + suffix;
    const QString stem = name.left(name.size() - ext.size());
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(ext);
        if (!QFileInfo::exists(dir.filePath(candidate)))
            return candidate;
    }
}

QString DownloadNames::partName(const QDir& dir)
{
    for (;;) {
        const QString candidate =
            QStringLiteral(".quorvane-%1.part")
                .arg(QString::number(QRandomGenerator::global()->generate(), 16));
        if (!QFileInfo::exists(dir.filePath(candidate)))
            return candidate;
    }
}
