#pragma once

#include <QString>
#include <QUrl>

// Completes a stored address: a text that starts with a known scheme is used unchanged,
// anything else names a page in the Web folder beside the program.
QString GetFullUrl(const QString& text);

// An absolute path becomes a file address; anything else is an address as written.
QUrl addressToUrl(const QString& address);

// Opens a text (address or path) outside the program, in the system's default handler,
// without any shell in between.
void OpenExternal(const QString& text);

// The longest address the program keeps: the history records none longer, and the site list
// takes none longer from a page (Ctrl+D), a bookmark file or a drop. No site needs more; a longer
// one is most likely damage.
inline constexpr qsizetype kMaxAddressLength = 64 * 1024;

// The maker's web site, opened from the main and About windows.
inline constexpr char16_t kMakerSite[] = u"https://www.quorvane.com.br";
