#include "core/UrlTools.h"

#include "core/Paths.h"
#include "core/Platform.h"

#include <QDir>

QString GetFullUrl(const QString& text)
{
    static const QString prefixes[] = {
        QStringLiteral("http://"), QStringLiteral("https://"),  QStringLiteral("ftp://"),
        QStringLiteral("file://"), QStringLiteral("mailto:"),   QStringLiteral("ftps://"),
        QStringLiteral("sftp://"), QStringLiteral("telnet://"), QStringLiteral("ssh://"),
        QStringLiteral("news:"),   QStringLiteral("gopher://"),
    };
    for (const QString& p : prefixes) {
        // Only the leading characters are lowered, and only for the comparison.
        if (text.left(p.size()).toLower() == p)
            return text;
    }
    return applicationDir() + QStringLiteral("/Web/") + text;
}

QUrl addressToUrl(const QString& address)
{
    if (QDir::isAbsolutePath(address))
        return QUrl::fromLocalFile(address);
    return QUrl(address, QUrl::TolerantMode);
}

void OpenExternal(const QString& text) { Platform::instance().openExternal(text); }
