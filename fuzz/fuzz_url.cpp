// URL completion on arbitrary text: a known scheme keeps the text, anything else lands in Web/.
#include "core/Paths.h"
#include "core/UrlTools.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString dir =
        (setApplicationDirForTesting(QStringLiteral("/opt/qv")), QStringLiteral("/opt/qv"));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString full = GetFullUrl(text);
    if (full != text && full != dir + QStringLiteral("/Web/") + text)
        std::abort();
    return 0;
}
