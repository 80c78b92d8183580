#pragma once

#include "core/UrlTools.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class Database;

struct HistoryRow {
    QString url;
    QString title;
    qint64 visits = 0;
    qint64 last = 0; // Unix seconds
};

// The pages visited: table Historico of QV_Historico.mdb (id, url unique, titulo, visitas,
// ultima). Writes never wait for the disk on the caller's thread: a writer thread owns its own
// connection (write-ahead journal) and stores the queued visits in batches, one transaction per
// batch. The file is opened, and created when missing, on that thread.
//
// When the file cannot be opened or written (damaged, read-only, a folder, the disk full),
// failed() is emitted once with a message naming the file, and later visits are dropped: what
// the file already holds stays as it is.
class HistoryStore : public QObject {
    Q_OBJECT
public:
    explicit HistoryStore(const QString& path, QObject* parent = nullptr);
    // Stores what is queued, then stops the writer.
    ~HistoryStore() override;

    // Addresses worth keeping: http and https, up to kMaxUrlLength characters.
    static bool isRecordable(const QString& url);
    static constexpr qsizetype kMaxUrlLength = kMaxAddressLength;

    // One more visit of url now (or at `when`, Unix seconds); an empty title keeps the stored one.
    void recordVisit(const QString& url, const QString& title, qint64 when = 0);
    // The page's title arrived after its load.
    void setTitle(const QString& url, const QString& title);

    // Returns once everything queued before the call is stored (or dropped after a failure).
    void flush();
    // Deletes every row, and the daily copies of the file, which hold the same visits. Throws
    // QvError naming the file when it cannot (the history is then as it was).
    void clear();

    bool hasFailed() const;
    const QString& path() const { return m_path; }

    // Every row, most visited first, then most recent; through a connection of its own, from any
    // thread. A missing file holds no rows; a file that cannot be read throws QvError.
    static std::vector<HistoryRow> readAll(const QString& path);

Q_SIGNALS:
    void failed(const QString& message);

private:
    enum class Op { Visit, Title, Flush, Clear };
    struct Job {
        Op op;
        QString url;
        QString title;
        qint64 when = 0;
        std::shared_ptr<std::promise<QString>> done; // Flush, Clear: empty text on success
    };
    class Writer;

    void enqueue(Job job);
    QString waitFor(Op op);
    void run();
    void fail(const QString& message);

    QString m_path;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_queue;
    bool m_stopping = false;
    bool m_failed = false;
    std::thread m_thread;
};
