#pragma once

#include <string>
#include <string_view>

// Text order without regard to letter case or accents: "álvaro" sorts with "Alvaro".
// Compares UTF-8 texts; equal under folding gives 0.
//
// The order, character by character after folding (case folded, accented letters taken as
// their base letter, combining marks left out):
// - a run of ASCII digits is one number, compared by value at any length: "Site 2" before
//   "Site 10", "1.9" before "1.10". Where two texts differ only in leading zeros, the one with
//   fewer zeros in the first such number comes first ("7" before "07");
// - any other characters by folded code point (so scripts follow Unicode's block order);
// - a text that is the beginning of another comes first.
// Malformed UTF-8 bytes count as the characters of their byte values. Nothing outside the two
// views is read.
int compareNoCase(std::string_view a, std::string_view b);

// The text as the order sees it, for searching: UTF-8 with case folded, accented letters as
// their base letter and combining marks left out. Two texts equal under compareNoCase have the
// same folding, digits aside (a number's leading zeros stay).
std::string foldNoCase(std::string_view text);
