#include "FakeBrowser.h"

void FakeBrowser::Navigate(const QString& address)
{
    navigations.append(address);
    silentAtNavigation.append(m_silent);
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
