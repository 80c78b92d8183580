#include "FakeBrowser.h"

#include "core/QvError.h"

void FakeBrowser::Navigate(const QString& address)
{
    navigations.append(address);
    silentAtNavigation.append(m_silent);
}

void FakeBrowser::GoBack()
{
    ++backCalls;
    throw QvError(QStringLiteral("no page back"));
}

void FakeBrowser::GoForward()
{
    ++forwardCalls;
    throw QvError(QStringLiteral("no page forward"));
}

void FakeBrowser::setSilent(bool silent) { m_silent = silent; }

void FakeBrowser::finishLoad(const QString& address)
{
    location = address;
    Q_EMIT DocumentComplete(address);
}

void FakeBrowser::installFactory()
{
    BrowserControl::setFactory([](QWidget* parent) { return new FakeBrowser(parent); });
}
