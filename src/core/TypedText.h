#pragma once

#include <QString>

// What a text typed in the address window becomes: an address to open, a web search, or
// nothing. Pure: no file, setting or window is read.
namespace TypedText {

enum class Kind { Empty, Address, Search, Refused };

struct Result {
    Kind kind = Kind::Empty;
    // The address to open (Address and Search); empty otherwise.
    QString url;
};

// DuckDuckGo's page of plain results; %s stands for the words, URL-encoded.
inline constexpr char16_t kDefaultSearchTemplate[] = u"https://html.duckduckgo.com/html/?q=%s";

// A search template holds %s and is an http(s) address.
bool isSearchTemplate(const QString& searchTemplate);

// Control characters are left out (line breaks and tabs become spaces), blanks around the text
// trimmed. Then:
// - nothing left: Empty;
// - "javascript:" in any letter case: Refused;
// - a scheme ("x://", or one of the schemes written without slashes, such as "about:" or
//   "mailto:"): Address, completed by GetFullUrl where it knows the scheme;
// - a host with an optional port and path, without blanks ("debian.org", "127.0.0.1:8080/x",
//   "localhost", "[::1]"): Address, over http for this machine and IP addresses, https otherwise;
// - anything else: Search, the template's %s replaced by the URL-encoded text.
// Linear in the length of the text.
Result classify(const QString& typed, const QString& searchTemplate);

} // namespace TypedText
