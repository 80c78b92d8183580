// The case- and accent-blind order on two arbitrary byte strings: a consistent order.
#include "storage/NoCaseCollation.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {
int sign(int v) { return (v > 0) - (v < 0); }
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view all(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t cut = data[0] % (all.size() + 1);
    const std::string_view a = all.substr(0, cut), b = all.substr(cut);
    if (compareNoCase(a, a) != 0 || compareNoCase(b, b) != 0)
        std::abort();
    if (sign(compareNoCase(a, b)) != -sign(compareNoCase(b, a)))
        std::abort();
    return 0;
}
