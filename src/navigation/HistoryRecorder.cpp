#include "navigation/HistoryRecorder.h"

#include "forms/BrowserControl.h"
#include "storage/HistoryStore.h"

HistoryRecorder::HistoryRecorder(BrowserControl* browser, std::unique_ptr<HistoryStore> store,
                                 QObject* parent)
    : QObject(parent)
    , m_browser(browser)
    , m_store(std::move(store))
{
    m_titleInterval.setSingleShot(true);
    m_titleInterval.setInterval(kTitleInterval);
    connect(&m_titleInterval, &QTimer::timeout, this, &HistoryRecorder::intervalEnded);
    connect(browser, &BrowserControl::DocumentComplete, this, &HistoryRecorder::documentComplete);
    connect(browser, &BrowserControl::TitleChange, this, &HistoryRecorder::titleChange);
}

HistoryRecorder::~HistoryRecorder() { storeHeldTitles(); }

void HistoryRecorder::documentComplete()
{
    // A title held back is older than the visit: stored first, it cannot replace a newer one.
    storeHeldTitles();
    if (m_browser && m_browser->loadSucceeded())
        m_store->recordVisit(m_browser->LocationURL(), m_browser->LocationName());
}

void HistoryRecorder::titleChange(const QString& title)
{
    if (!m_browser)
        return;
    if (m_titleInterval.isActive()) {
        m_heldTitles.insert(m_browser->LocationURL(), title);
        return;
    }
    m_store->setTitle(m_browser->LocationURL(), title);
    m_titleInterval.start();
}

void HistoryRecorder::intervalEnded()
{
    if (m_heldTitles.isEmpty())
        return;
    storeHeldTitles();
    m_titleInterval.start();
}

void HistoryRecorder::storeHeldTitles()
{
    for (auto it = m_heldTitles.cbegin(); it != m_heldTitles.cend(); ++it)
        m_store->setTitle(it.key(), it.value());
    m_heldTitles.clear();
}
