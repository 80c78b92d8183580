#include "core/TypedText.h"

#include "core/DisplayText.h"

#include <QStringList>
#include <QUrl>

namespace {

QString cleaned(const QString& typed)
{
    QString out;
    out.reserve(typed.size());
    for (const QChar c : typed) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f')
            out.append(u' ');
        else if (c.category() != QChar::Other_Control && !DisplayText::isBidiControl(u))
            out.append(c);
    }
    return out.trimmed();
}

bool startsWithNoCase(const QString& text, QLatin1StringView prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// "x://" with a scheme of letters, digits, "+", "-" and ".", starting with a letter.
bool hasSlashScheme(const QString& text)
{
    if (text.isEmpty() || !isAsciiLetter(text.front()))
        return false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u':')
            return text.mid(i, 3) == QLatin1String("://");
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u'+' && c != u'-' && c != u'.')
            return false;
    }
    return false;
}

bool hasScheme(const QString& text)
{
    static const QLatin1StringView bare[] = {
        QLatin1StringView("about:"),      QLatin1StringView("data:"), QLatin1StringView("mailto:"),
        QLatin1StringView("news:"),       QLatin1StringView("tel:"),  QLatin1StringView("sms:"),
        QLatin1StringView("view-source:")};
    for (QLatin1StringView s : bare) {
        if (startsWithNoCase(text, s))
            return true;
    }
    return hasSlashScheme(text);
}

bool isPort(QStringView p)
{
    if (p.isEmpty() || p.size() > 5)
        return false;
    for (const QChar c : p) {
        if (!isAsciiDigit(c))
            return false;
    }
    return p.toInt() <= 65535;
}

bool isIPv4(QStringView host)
{
    const auto parts = host.split(u'.');
    if (parts.size() != 4)
        return false;
    for (QStringView part : parts) {
        if (part.isEmpty() || part.size() > 3 || !isPort(part) || part.toInt() > 255)
            return false;
    }
    return true;
}

bool isLabel(QStringView label)
{
    if (label.isEmpty() || label.size() > 63 || label.front() == u'-' || label.back() == u'-')
        return false;
    for (const QChar c : label) {
        if (!c.isLetterOrNumber() && c != u'-')
            return false;
    }
    return true;
}

// A name of two labels or more, the last one a top-level domain: letters, or "xn--".
bool isDomain(QStringView host)
{
    const auto labels = host.split(u'.');
    if (labels.size() < 2)
        return false;
    for (QStringView label : labels) {
        if (!isLabel(label))
            return false;
    }
    const QStringView top = labels.back();
    if (top.startsWith(QLatin1StringView("xn--"), Qt::CaseInsensitive))
        return true;
    if (top.size() < 2)
        return false;
    for (const QChar c : top) {
        if (!c.isLetter())
            return false;
    }
    return true;
}

enum class Host { None, Local, Named };

// The part before the path: [IPv6], a name or an IPv4 address, with an optional port.
Host hostOf(const QString& text)
{
    if (text.contains(u' ') || text.contains(u'@'))
        return Host::None;
    qsizetype end = text.size();
    for (const char16_t stop : {u'/', u'?', u'#'}) {
        const qsizetype at = text.indexOf(QChar(stop));
        if (at >= 0 && at < end)
            end = at;
    }
    QStringView authority = QStringView(text).left(end);
    if (authority.startsWith(u'[')) {
        const qsizetype close = authority.indexOf(u']');
        if (close < 2)
            return Host::None;
        for (const QChar c : authority.mid(1, close - 1)) {
            if (!isAsciiDigit(c) && !QStringView(u"abcdefABCDEF:.").contains(c))
                return Host::None;
        }
        const QStringView rest = authority.mid(close + 1);
        return rest.isEmpty() || (rest.front() == u':' && isPort(rest.mid(1))) ? Host::Local
                                                                               : Host::None;
    }
    const qsizetype colon = authority.lastIndexOf(u':');
    const bool withPort = colon >= 0;
    if (withPort && !isPort(authority.mid(colon + 1)))
        return Host::None;
    const QStringView host = withPort ? authority.left(colon) : authority;
    if (host.compare(QLatin1StringView("localhost"), Qt::CaseInsensitive) == 0 || isIPv4(host))
        return Host::Local;
    if (isDomain(host))
        return Host::Named;
    // "intranet:8080": a single name with a port is a machine of the local network.
    return withPort && isLabel(host) ? Host::Local : Host::None;
}

bool isEngineScheme(const QString& scheme)
{
    if (scheme == u"chrome-error" || scheme == u"chrome-extension")
        return false;
    return scheme == u"chrome" || scheme.startsWith(QLatin1StringView("chrome-")) ||
           scheme == u"devtools" || scheme == u"qrc";
}

// The longest address a notice names whole.
constexpr qsizetype kNoticeAddressLength = 80;

} // namespace

bool TypedText::isInternalAddress(const QUrl& url)
{
    QString scheme = url.scheme().toLower();
    QUrl inner = url;
    // The engine reads what follows "view-source:" as an address of its own.
    if (scheme == u"view-source") {
        const QString text = url.toString();
        const QLatin1StringView prefix("view-source:");
        qsizetype at = 0;
        while (QStringView(text).mid(at).trimmed().startsWith(prefix, Qt::CaseInsensitive))
            at = text.indexOf(u':', at) + 1;
        inner = QUrl(text.mid(at).trimmed());
        scheme = inner.scheme().toLower();
    }
    if (scheme == u"about") {
        const QString page = inner.path().toLower();
        return !page.isEmpty() && page != u"blank" && page != u"srcdoc";
    }
    return isEngineScheme(scheme);
}

QString TypedText::internalNotice(const QString& address)
{
    return QStringLiteral("O endereço \"%1\" é interno do navegador e não é aberto.")
        .arg(DisplayText::shortened(address, kNoticeAddressLength));
}

bool TypedText::isSearchTemplate(const QString& t)
{
    return t.contains(QLatin1StringView("%s")) &&
           (startsWithNoCase(t, QLatin1StringView("https://")) ||
            startsWithNoCase(t, QLatin1StringView("http://")));
}

TypedText::Result TypedText::classify(const QString& typed, const QString& searchTemplate)
{
    const QString text = cleaned(typed);
    if (text.isEmpty())
        return {};
    if (startsWithNoCase(text, QLatin1StringView("javascript:")))
        return {Kind::Refused, {}};
    if (hasScheme(text))
        return {isInternalAddress(QUrl(text)) ? Kind::Internal : Kind::Address, text};
    switch (hostOf(text)) {
    case Host::Local:
        return {Kind::Address, QStringLiteral("http://") + text};
    case Host::Named:
        return {Kind::Address, QStringLiteral("https://") + text};
    case Host::None:
        break;
    }
    QString url = searchTemplate;
    url.replace(QLatin1StringView("%s"), QString::fromLatin1(QUrl::toPercentEncoding(text)));
    return {Kind::Search, url};
}
