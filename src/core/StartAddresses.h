#pragma once

#include <QString>
#include <QStringList>

// What the program's arguments ask it to open ("quorvane URL..."), as the address window would
// take each of them. Pure but for asking whether a file exists: no setting or window is read.
namespace StartAddresses {

// The browser's page limit: the addresses one start opens.
inline constexpr qsizetype kMaxAddresses = 50;
// The most notices one start gives: one for the refused arguments, one for those left out.
inline constexpr qsizetype kMaxNotices = 2;
// The longest notice a start gives; what a later start hands over is cut there.
inline constexpr qsizetype kMaxNoticeLength = 1000;

struct Result {
    // To open, in the order given, at most kMaxAddresses, each at most kMaxAddressLength long.
    QStringList addresses;
    // At most kMaxNotices, each one line of at most kMaxNoticeLength characters.
    QStringList notices;

    bool isEmpty() const { return addresses.isEmpty() && notices.isEmpty(); }
};

// The arguments the application leaves (without the program's name), a relative path read
// against workingDir. Each one is, in this order:
// - refused when empty, an option ("--foo", "-"), longer than kMaxAddressLength or holding a
//   control character;
// - an existing file or folder (absolute, or relative to workingDir): its file address;
// - otherwise what TypedText::classify makes of it when that is an address ("https://...",
//   "about:blank", "debian.org", "localhost:8080"); "javascript:", the engine's internal
//   addresses and what would be a web search ("foo", a file that does not exist) are refused.
// One notice names the refused ones (the first few, shortened); past kMaxAddresses taken, the
// rest are left out with a notice saying how many.
Result fromArguments(const QStringList& arguments, const QString& workingDir);

// What a later start handed over, checked again as addresses alone (no file is looked for):
// anything fromArguments could not have given is refused with a notice, as it would be there.
// Notices beyond kMaxNotices are dropped, longer ones cut, each made one line.
Result fromHandedOver(const QStringList& addresses, const QStringList& notices);

} // namespace StartAddresses
