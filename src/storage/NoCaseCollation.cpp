#include "storage/NoCaseCollation.h"

#include <QChar>
#include <QString>

#include <array>

namespace {

// Decodes one code point and advances; malformed bytes are taken one by one as themselves.
char32_t nextCodePoint(std::string_view s, size_t& i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    auto cont = [&](size_t k) -> int {
        if (i + k >= s.size())
            return -1;
        const auto b = static_cast<unsigned char>(s[i + k]);
        return (b & 0xC0) == 0x80 ? (b & 0x3F) : -1;
    };
    if (b0 >= 0xC2 && b0 < 0xE0) {
        const int c1 = cont(1);
        if (c1 >= 0) {
            i += 2;
            return char32_t((b0 & 0x1F) << 6 | c1);
        }
    } else if (b0 >= 0xE0 && b0 < 0xF0) {
        const int c1 = cont(1), c2 = c1 >= 0 ? cont(2) : -1;
        if (c2 >= 0) {
            i += 3;
            return char32_t((b0 & 0x0F) << 12 | c1 << 6 | c2);
        }
    } else if (b0 >= 0xF0 && b0 < 0xF5) {
        const int c1 = cont(1), c2 = c1 >= 0 ? cont(2) : -1, c3 = c2 >= 0 ? cont(3) : -1;
        if (c3 >= 0) {
            i += 4;
            return char32_t((b0 & 0x07) << 18 | c1 << 12 | c2 << 6 | c3);
        }
    }
    ++i;
    return b0;
}

char32_t foldSlow(char32_t c)
{
    if (c > 0xFFFF)
        return QChar::toCaseFolded(c);
    QString decomposed = QChar(char16_t(c)).decomposition();
    if (!decomposed.isEmpty() && QChar(char16_t(c)).decompositionTag() == QChar::Canonical)
        c = decomposed.at(0).unicode();
    return QChar::toCaseFolded(c);
}

// Latin letters cover nearly every title; they are folded through a table built once.
constexpr char32_t kTableSize = 0x250;
const std::array<char32_t, kTableSize>& latinTable()
{
    static const auto table = [] {
        std::array<char32_t, kTableSize> t{};
        for (char32_t c = 0; c < kTableSize; ++c)
            t[c] = c < 0x80 ? ((c >= 'A' && c <= 'Z') ? c + 32 : c) : foldSlow(c);
        return t;
    }();
    return table;
}

inline char32_t fold(char32_t c) { return c < kTableSize ? latinTable()[c] : foldSlow(c); }

} // namespace

int compareNoCase(std::string_view a, std::string_view b)
{
    const auto& table = latinTable();
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        char32_t fa, fb;
        if (ca < 0x80 && cb < 0x80) {
            fa = table[ca];
            fb = table[cb];
            ++i;
            ++j;
        } else {
            fa = fold(nextCodePoint(a, i));
            fb = fold(nextCodePoint(b, j));
        }
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}
