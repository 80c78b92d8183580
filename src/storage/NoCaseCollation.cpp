#include "storage/NoCaseCollation.h"

#include <QChar>
#include <QString>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Marks (combining accents) are left out of the comparison.
constexpr char32_t kSkip = 0xFFFFFFFF;

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

bool isMark(char32_t c) { return QChar::category(c) == QChar::Mark_NonSpacing; }

// A letter with accents becomes its base letter: the canonical decomposition is followed while
// it is a base and marks only (so Hangul syllables, whose parts are letters, stay whole).
char32_t baseLetter(char32_t c)
{
    for (;;) {
        if (QChar::decompositionTag(c) != QChar::Canonical)
            return c;
        const QString d = QChar::decomposition(c);
        for (qsizetype k = 1; k < d.size(); ++k) {
            if (!isMark(d.at(k).unicode()))
                return c;
        }
        if (d.isEmpty() || d.at(0).isSurrogate() || d.at(0).unicode() == c)
            return c;
        c = d.at(0).unicode();
    }
}

char32_t foldSlow(char32_t c)
{
    if (isMark(c))
        return kSkip;
    if (c > 0xFFFF)
        return QChar::toCaseFolded(c);
    return QChar::toCaseFolded(baseLetter(c));
}

// Every character of the basic plane is folded through a table built once (about 30 ms, on
// the first comparison); the rest are rare and folded on the way, without allocating.
const char32_t* bmpTable()
{
    static const std::unique_ptr<char32_t[]> table = [] {
        auto t = std::make_unique<char32_t[]>(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c)
            t[c] = c < 0x80 ? ((c >= 'A' && c <= 'Z') ? c + 32 : c) : foldSlow(c);
        return t;
    }();
    return table.get();
}

bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }

// The next folded character of s from i, marks skipped; false at the end.
inline bool nextFolded(const char32_t* table, std::string_view s, size_t& i, char32_t& out)
{
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            out = table[b];
            return true;
        }
        const char32_t c = nextCodePoint(s, i);
        out = c < 0x10000 ? table[c] : foldSlow(c);
        if (out != kSkip)
            return true;
    }
    return false;
}

// Compares the runs of ASCII digits starting at i and j by value, of any length, and moves
// both past them. Equal values with different leading zeros leave their order in tie.
int compareNumbers(std::string_view a, size_t& i, std::string_view b, size_t& j, int& tie)
{
    auto run = [](std::string_view s, size_t& k, size_t& zeros) {
        const size_t start = k;
        while (k < s.size() && s[k] == '0')
            ++k;
        zeros = k - start;
        const size_t first = k;
        while (k < s.size() && isDigit(s[k]))
            ++k;
        return s.substr(first, k - first);
    };
    size_t zerosA, zerosB;
    const std::string_view da = run(a, i, zerosA);
    const std::string_view db = run(b, j, zerosB);
    if (da.size() != db.size())
        return da.size() < db.size() ? -1 : 1;
    if (const int c = std::memcmp(da.data(), db.data(), da.size()))
        return c < 0 ? -1 : 1;
    if (tie == 0 && zerosA != zerosB)
        tie = zerosA < zerosB ? -1 : 1;
    return 0;
}

} // namespace

int compareNoCase(std::string_view a, std::string_view b)
{
    const char32_t* table = bmpTable();
    // Titles often share a beginning: skip it byte by byte, then resume where decoding is in
    // step in both (after an ASCII byte) and at the start of a number that reaches the end of
    // the shared part.
    const size_t shared = std::min(a.size(), b.size());
    size_t k = 0;
    while (k < shared && a[k] == b[k])
        ++k;
    while (k > 0 && static_cast<unsigned char>(a[k - 1]) >= 0x80)
        --k;
    while (k > 0 && isDigit(a[k - 1]))
        --k;
    size_t i = k, j = k;
    int tie = 0;
    for (;;) {
        char32_t fa, fb;
        const bool moreA = nextFolded(table, a, i, fa);
        const bool moreB = nextFolded(table, b, j, fb);
        if (!moreA || !moreB)
            return moreA ? 1 : moreB ? -1 : tie;
        // Digits are single bytes: both runs start one byte back.
        if (isDigit(fa) && isDigit(fb) && a[i - 1] == char(fa) && b[j - 1] == char(fb)) {
            if (const int c = compareNumbers(a, --i, b, --j, tie))
                return c;
            continue;
        }
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
}

std::string foldNoCase(std::string_view text)
{
    const char32_t* table = bmpTable();
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    char32_t c;
    while (nextFolded(table, text, i, c)) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}
