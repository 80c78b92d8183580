// The bookmark file parser on arbitrary bytes: no crash, no NUL in what it returns, and what it
// returns survives the writer: written out and read back, the same links.
#include "storage/BookmarkFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const BookmarkFile::Parsed parsed =
        BookmarkFile::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (parsed.links.size() > size_t(BookmarkFile::kMaxLinks))
        std::abort();
    std::vector<BookmarkFile::Site> sites;
    for (const BookmarkFile::Link& link : parsed.links) {
        if (link.title.contains(QChar(0)) || link.url.contains(QChar(0)))
            std::abort();
        sites.push_back({link.title, link.url});
    }
    const BookmarkFile::Parsed again = BookmarkFile::parse(BookmarkFile::write(sites, 0));
    if (!again.hasDoctype || again.hadInvalidText || again.links.size() != sites.size())
        std::abort();
    for (size_t i = 0; i < sites.size(); ++i) {
        if (again.links[i].title != sites[i].title || again.links[i].url != sites[i].url ||
            again.links[i].inFolder)
            std::abort();
    }
    return 0;
}
