#include "browser/SessionKeeper.h"

#include "forms/BrowserControl.h"

SessionKeeper::SessionKeeper(BrowserControl* browser, std::unique_ptr<SessionStore> store,
                             QObject* parent)
    : QObject(parent)
    , m_browser(browser)
    , m_store(std::move(store))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(kWriteDelay);
    connect(&m_delay, &QTimer::timeout, this, &SessionKeeper::write);
    connect(browser, &BrowserControl::sessionChanged, this, [this] {
        if (!m_delay.isActive() && !m_ended)
            m_delay.start();
    });
}

void SessionKeeper::write()
{
    if (m_browser && !m_ended)
        m_store->write(m_browser->session());
}

void SessionKeeper::endNormally()
{
    m_ended = true;
    m_delay.stop();
    m_store->endNormally(m_browser ? m_browser->session().closed : std::vector<PageState>{});
}
