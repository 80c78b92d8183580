#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>

class BrowserControl;
class HistoryStore;

// Records every finished top-level load of an http(s) page of the browser in the history, and
// the title when it arrives later. The store writes on a thread of its own: recording costs the
// window a queued job.
//
// Titles reach the store at most once per kTitleInterval: the first change at once, then the
// last title of each page when the interval ends, so that a page changing its title thousands
// of times a second costs the disk one write a second. A title held back is stored before the
// next visit is recorded and when the recorder goes: the final title is always kept.
class HistoryRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kTitleInterval{1000};

    HistoryRecorder(BrowserControl* browser, std::unique_ptr<HistoryStore> store, QObject* parent);
    // Stores the titles held back, then what the store has queued.
    ~HistoryRecorder() override;

    HistoryStore& store() const { return *m_store; }

private:
    void documentComplete();
    void titleChange(const QString& title);
    void intervalEnded();
    void storeHeldTitles();

    QPointer<BrowserControl> m_browser;
    std::unique_ptr<HistoryStore> m_store;
    // Runs while titles are held back: the last title of each address changed meanwhile.
    QTimer m_titleInterval;
    QHash<QString, QString> m_heldTitles;
};
