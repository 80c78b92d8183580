#pragma once

#include <QWebEnginePage>

class QUrl;

// What becomes of an address the engine is asked to open.
namespace NavigationPolicy {

enum class Verdict {
    Show,         // the engine shows it
    Refuse,       // nothing happens; the page stays where it was
    OpenExternal, // the system's default handler, without asking (mailto:, tel:, sms:)
    AskFirst,     // the system's default handler after a "SIM"
};

enum class UserAction { None, Recent };

// `current` is the address of the page that asks; `action` says whether the user clicked or
// pressed a key just before. The program's own navigations come as NavigationTypeTyped. The
// engine's and the program's own addresses (TypedText::isInternalAddress) are refused to all.
Verdict verdict(const QUrl& target, const QUrl& current, QWebEnginePage::NavigationType type,
                UserAction action);

// Watches the program's input events, so that a navigation can be told from one the user
// started by a click or a key. Installed once; harmless to call again.
void watchUserInput();
UserAction recentUserAction();

} // namespace NavigationPolicy
