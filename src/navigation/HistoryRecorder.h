#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class BrowserControl;
class HistoryStore;

// Records every finished top-level load of an http(s) page of the browser in the history, and
// the title when it arrives later. The store writes on a thread of its own: recording costs the
// window a queued job.
class HistoryRecorder : public QObject {
    Q_OBJECT
public:
    HistoryRecorder(BrowserControl* browser, std::unique_ptr<HistoryStore> store, QObject* parent);
    ~HistoryRecorder() override;

    HistoryStore& store() const { return *m_store; }

private:
    void documentComplete();
    void titleChange(const QString& title);

    QPointer<BrowserControl> m_browser;
    std::unique_ptr<HistoryStore> m_store;
};
