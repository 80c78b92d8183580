#pragma once

#include <QString>

class QUrl;

// What a text typed in the address window becomes: an address to open, a web search, or
// nothing. Pure: no file, setting or window is read.
namespace TypedText {

enum class Kind { Empty, Address, Search, Refused, Internal };

struct Result {
    Kind kind = Kind::Empty;
    // The address to open (Address and Search), or the one refused (Internal); empty otherwise.
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
//   "mailto:"): Internal when isInternalAddress says so, else Address, completed by GetFullUrl
//   where it knows the scheme;
// - a host with an optional port and path, without blanks ("debian.org", "127.0.0.1:8080/x",
//   "localhost", "[::1]"): Address, over http for this machine and IP addresses, https otherwise;
// - anything else: Search, the template's %s replaced by the URL-encoded text.
// Linear in the length of the text.
Result classify(const QString& typed, const QString& searchTemplate);

// An address that belongs to the engine or the program and is never opened, whoever asks (a
// typed text, a saved site, a page): chrome: and its kin (the engine's debug addresses among
// them end or freeze the engine: chrome://crash, chrome://gpucrash, chrome://hang, ...),
// devtools:, qrc: (the program's own files), about: other than about:blank and about:srcdoc, and
// a view-source: of any of these. The two the engine shows of its own accord stay open to it:
// chrome-error: (its error pages) and chrome-extension: (its PDF viewer).
bool isInternalAddress(const QUrl& url);

// The notice for an address that isInternalAddress refuses, naming it on one line.
QString internalNotice(const QString& address);

} // namespace TypedText
