#include "core/DownloadNames.h"

#include "core/QvError.h"

#include <QDir>
#include <QFile>
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

// `name` without control characters, leading dots or surrounding blanks, cut; may be empty.
QString cleaned(const QString& name)
{
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
    return cutToBytes(clean.trimmed());
}
} // namespace

QString DownloadNames::safeName(const QString& suggested)
{
    const qsizetype slash = std::max(suggested.lastIndexOf(u'/'), suggested.lastIndexOf(u'\\'));
    const QString clean = cleaned(suggested.mid(slash + 1));
    return clean.isEmpty() ? QStringLiteral("download") : clean;
}

QString DownloadNames::pdfName(const QString& title)
{
    QString stem = title;
    stem.replace(u'/', u'-').replace(u'\\', u'-');
    stem = cleaned(stem);
    if (stem.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        stem.chop(4);
    if (stem.trimmed().isEmpty())
        stem = QStringLiteral("pagina");
    return cutToBytes(stem.trimmed() + QStringLiteral(".pdf"));
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

std::optional<QString> DownloadNames::folderProblem(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return QStringLiteral("a pasta %1 não existe").arg(QDir::toNativeSeparators(folder));
    if (!info.isWritable())
        return QStringLiteral("a pasta %1 não pode ser gravada")
            .arg(QDir::toNativeSeparators(folder));
    return std::nullopt;
}

QString DownloadNames::failure(Kind kind, const QString& name, const QString& reason)
{
    return (kind == Kind::Download ? QStringLiteral("Não foi possível baixar %1: %2.")
                                   : QStringLiteral("Não foi possível imprimir %1: %2."))
        .arg(name, reason);
}

QString DownloadNames::keep(const QDir& dir, const QString& partPath, const QString& name,
                            Kind kind)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QString candidate = freeName(dir, name);
        if (QFile::rename(partPath, dir.filePath(candidate)))
            return candidate;
    }
    QFile::remove(partPath); // the notice stands whether or not the hidden file goes
    throw QvError(failure(kind, name, QStringLiteral("não foi possível gravar o arquivo")));
}
