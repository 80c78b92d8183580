#include "core/DisplayText.h"

#include <algorithm>

namespace {
bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\t' || c == u'\v' || c == u'\f' || c == 0x85 ||
           c == 0x2028 || c == 0x2029;
}
} // namespace

bool DisplayText::isBidiControl(char16_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString DisplayText::oneLine(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (isLineBreak(u))
            out.append(u' ');
        else if (c.category() != QChar::Other_Control && !isBidiControl(u))
            out.append(c);
    }
    return out;
}

QString DisplayText::shortened(const QString& text, qsizetype length)
{
    QString shown = oneLine(text);
    if (shown.size() <= length)
        return shown;
    qsizetype cut = std::max<qsizetype>(length - 3, 0);
    if (cut > 0 && shown.at(cut - 1).isHighSurrogate())
        --cut;
    return shown.left(cut) + QStringLiteral("...");
}
