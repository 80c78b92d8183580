// Typed-text classification on arbitrary text: never a javascript: address, never a control
// character in an address, a search always inside the template, and quick at any length. The
// same text, one line an address, as a later start's hand-over: only what a start can open, and
// notices that fit what a later start may send.
#include "core/StartAddresses.h"
#include "core/TypedText.h"
#include "core/UrlTools.h"

#include <QUrl>

#include <cstdint>
#include <cstdlib>

namespace {
bool hasControl(const QString& s)
{
    for (const QChar c : s) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using TypedText::Kind;
    static const QString tmpl = QStringLiteral("https://s.example/?q=%s&x=1");
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const TypedText::Result r = TypedText::classify(text, tmpl);
    switch (r.kind) {
    case Kind::Empty:
    case Kind::Refused:
        if (!r.url.isEmpty())
            std::abort();
        break;
    case Kind::Address:
        if (r.url.isEmpty() || hasControl(r.url) ||
            r.url.trimmed().startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive))
            std::abort();
        break;
    case Kind::Internal:
        // Named in a notice, never opened: the engine's own addresses only.
        if (r.url.isEmpty() || !TypedText::isInternalAddress(QUrl(r.url.trimmed())))
            std::abort();
        break;
    case Kind::Search:
        // The words are encoded: nothing but the template's own text is left unescaped.
        if (!r.url.startsWith(QLatin1String("https://s.example/?q=")) ||
            !r.url.endsWith(QLatin1String("&x=1")) || r.url.contains(u' ') ||
            r.url.mid(21, r.url.size() - 25).contains(u'&'))
            std::abort();
        break;
    }
    // Whatever was refused stays refused with blanks and controls around it.
    if (r.kind == Kind::Refused &&
        TypedText::classify(QStringLiteral(" \t") + text + QChar(1), tmpl).kind != Kind::Refused)
        std::abort();
    const QStringList lines = text.split(u'\n');
    const StartAddresses::Result handed = StartAddresses::fromHandedOver(lines, lines);
    if (handed.addresses.size() > StartAddresses::kMaxAddresses)
        std::abort();
    for (const QString& a : handed.addresses) {
        if (a.size() > kMaxAddressLength || hasControl(a) ||
            a.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive) ||
            TypedText::isInternalAddress(QUrl(a)) || TypedText::classify(a, tmpl).url != a)
            std::abort();
    }
    for (const QString& n : handed.notices) {
        if (n.size() > StartAddresses::kMaxNoticeLength || n.contains(u'\n'))
            std::abort();
    }
    if (StartAddresses::fromHandedOver(handed.addresses, {}).addresses != handed.addresses)
        std::abort();
    return 0;
}
