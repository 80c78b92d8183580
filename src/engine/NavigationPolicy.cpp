#include "engine/NavigationPolicy.h"

#include "core/TypedText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QUrl>

namespace {
// A link click reaches the page policy a few milliseconds after the button is released.
constexpr qint64 kUserActionMs = 1000;

bool shownByEngine(const QString& scheme)
{
    static const QStringList schemes{
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
        QStringLiteral("data"), QStringLiteral("blob"), QStringLiteral("about"),
        // The engine's own pages: error pages and the PDF viewer.
        QStringLiteral("chrome-error"), QStringLiteral("chrome-extension")};
    return schemes.contains(scheme);
}

bool safeExternal(const QString& scheme)
{
    return scheme == u"mailto" || scheme == u"tel" || scheme == u"sms";
}

bool userStarted(QWebEnginePage::NavigationType type, NavigationPolicy::UserAction action)
{
    return type == QWebEnginePage::NavigationTypeTyped ||
           (type == QWebEnginePage::NavigationTypeLinkClicked &&
            action == NavigationPolicy::UserAction::Recent);
}

class InputWatch : public QObject {
public:
    using QObject::QObject;
    QElapsedTimer last;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type t = event->type();
        // A key bound to the program's own action comes as a shortcut, never as a key press.
        if (t == QEvent::MouseButtonRelease || t == QEvent::KeyPress || t == QEvent::Shortcut)
            last.start();
        return QObject::eventFilter(watched, event);
    }
};

InputWatch*& inputWatch()
{
    static InputWatch* watch = nullptr;
    return watch;
}
} // namespace

NavigationPolicy::Verdict NavigationPolicy::verdict(const QUrl& target, const QUrl& current,
                                                    QWebEnginePage::NavigationType type,
                                                    UserAction action)
{
    if (TypedText::isInternalAddress(target))
        return Verdict::Refuse;
    const QString scheme = target.scheme().toLower();
    if (shownByEngine(scheme)) {
        const QString from = current.scheme().toLower();
        const bool fromWeb = from == u"http" || from == u"https";
        const bool pageLed = type != QWebEnginePage::NavigationTypeTyped &&
                             type != QWebEnginePage::NavigationTypeBackForward &&
                             type != QWebEnginePage::NavigationTypeReload;
        return scheme == u"file" && fromWeb && pageLed ? Verdict::Refuse : Verdict::Show;
    }
    if (!userStarted(type, action))
        return Verdict::Refuse;
    return safeExternal(scheme) ? Verdict::OpenExternal : Verdict::AskFirst;
}

void NavigationPolicy::watchUserInput()
{
    if (inputWatch() || !QCoreApplication::instance())
        return;
    inputWatch() = new InputWatch(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(inputWatch());
}

NavigationPolicy::UserAction NavigationPolicy::recentUserAction()
{
    const InputWatch* watch = inputWatch();
    return watch && watch->last.isValid() && watch->last.elapsed() < kUserActionMs
               ? UserAction::Recent
               : UserAction::None;
}
