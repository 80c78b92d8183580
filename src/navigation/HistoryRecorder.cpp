#include "navigation/HistoryRecorder.h"

#include "forms/BrowserControl.h"
#include "storage/HistoryStore.h"

HistoryRecorder::HistoryRecorder(BrowserControl* browser, std::unique_ptr<HistoryStore> store,
                                 QObject* parent)
    : QObject(parent)
    , m_browser(browser)
    , m_store(std::move(store))
{
    connect(browser, &BrowserControl::DocumentComplete, this, &HistoryRecorder::documentComplete);
    connect(browser, &BrowserControl::TitleChange, this, &HistoryRecorder::titleChange);
}

HistoryRecorder::~HistoryRecorder() = default;

void HistoryRecorder::documentComplete()
{
    if (m_browser && m_browser->loadSucceeded())
        m_store->recordVisit(m_browser->LocationURL(), m_browser->LocationName());
}

void HistoryRecorder::titleChange(const QString& title)
{
    if (m_browser)
        m_store->setTitle(m_browser->LocationURL(), title);
}
