#include "storage/BookmarkSites.h"

#include "core/UrlTools.h"

namespace BookmarkSites {

bool isImportableUrl(const QString& url)
{
    if (url.isEmpty() || url.size() > kMaxAddressLength)
        return false;
    return !url.startsWith(QLatin1String("place:"), Qt::CaseInsensitive) &&
           !url.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive);
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
