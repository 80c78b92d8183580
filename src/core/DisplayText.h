#pragma once

#include <QString>

// Text a web page gave (a title, a server's file name) as it may be shown on one line or stored
// as a title: line and paragraph breaks (CR, LF, U+0085, U+2028, U+2029, tabs) become spaces, other
// control characters go, and bidirectional embeddings, overrides and isolates (U+202A-U+202E,
// U+2066-U+2069) are removed, so that no text after them is shown reordered ("fdp.exe" read as
// "exe.pdf"). Nothing else changes: stored rows are cleaned where they are shown, never rewritten.
namespace DisplayText {

QString oneLine(const QString& text);
bool isBidiControl(char16_t c);
// oneLine, cut to at most `length` characters with "..." at the end when it is longer (a pair
// of surrogates is never split).
QString shortened(const QString& text, qsizetype length);

} // namespace DisplayText
