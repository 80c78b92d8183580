#pragma once

#include <string_view>

// Text order without regard to letter case or accents: "álvaro" sorts with "Alvaro".
// Compares UTF-8 texts; equal under folding gives 0.
int compareNoCase(std::string_view a, std::string_view b);
