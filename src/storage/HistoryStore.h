#pragma once

#include "core/UrlTools.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
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
// ultima). A store comes from create(), which opens the file (creating it when missing) on the
// calling thread and throws at once when it cannot, or from createDisabled(), which keeps
// nothing, for a run that browses on without a history. Writes never wait for the disk on the
// caller's thread: a writer thread takes over the opened connection (write-ahead journal) and
// stores the queued visits in batches, one transaction per batch.
//
// A write that fails later (the disk full, the file damaged meanwhile) reaches the rest of the
// program one way only: writeFailed() is emitted once, on the thread the store belongs to, with
// a message naming the file. Later visits are dropped; what the file holds stays as it is.
class HistoryStore : public QObject {
    Q_OBJECT
public:
    // Throws QvError naming the file when it cannot be opened, created or written (damaged,
    // read-only, a folder, a table of another shape); a file that was there is then left
    // exactly as it was.
    static std::unique_ptr<HistoryStore> create(const QString& path);
    // A store that keeps nothing: visits are dropped and flush() returns at once. `failure`
    // (never empty) is why there is no history; clear() throws it, since the file at `path`
    // keeps whatever it held.
    static std::unique_ptr<HistoryStore> createDisabled(const QString& path,
                                                        const QString& failure);
    // Stores what is queued, then stops the writer.
    ~HistoryStore() override;

    // Addresses worth keeping: http and https, up to kMaxUrlLength characters.
    static bool isRecordable(const QString& url);
    static constexpr qsizetype kMaxUrlLength = kMaxAddressLength;

    // One more visit of url now (or at `when`, Unix seconds); an empty title keeps the stored one.
    // A title is stored as one line (DisplayText::oneLine): what a page names itself reaches the
    // file without line breaks or bidirectional controls.
    void recordVisit(const QString& url, const QString& title, qint64 when = 0);
    // The page's title arrived after its load.
    void setTitle(const QString& url, const QString& title);

    // Returns once everything queued before the call is stored (or dropped after a failure).
    void flush();
    // Deletes every row, and the daily copies of the file, which hold the same visits. Throws
    // QvError naming the file when the rows cannot be deleted (the history is then as it was),
    // or naming the copies that cannot be removed (the rows are gone, those copies stay).
    void clear();

    // Disabled, or a write has failed.
    bool hasFailed() const;
    const QString& path() const { return m_path; }

    // Every row, most visited first, then most recent; through a connection of its own, from any
    // thread. A missing file holds no rows; a file that cannot be read throws QvError.
    static std::vector<HistoryRow> readAll(const QString& path);

Q_SIGNALS:
    void writeFailed(const QString& message);

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

    HistoryStore(const QString& path, std::unique_ptr<Writer> writer, const QString& failure);

    void enqueue(Job job);
    QString waitFor(Op op);
    void removeDailyCopies() const;
    // The writer thread: batches of jobs until the store stops.
    void run();
    bool takeBatch(std::deque<Job>& batch);
    void runJob(Job& job);
    void write(const std::function<void()>& step);
    void fail(const QString& message);
    QString failure() const;

    QString m_path;
    // The connection, used by the writer thread alone once it runs; gone after a failure.
    std::unique_ptr<Writer> m_writer;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_queue;
    bool m_stopping = false;
    bool m_failed = false;
    QString m_failure;
    std::thread m_thread; // none for a disabled store
};
