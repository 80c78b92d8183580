#pragma once

#include "core/PageList.h"
#include "core/PageState.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

// The pages open now and the last ones closed.
struct Session {
    std::vector<PageState> open;   // in the order they were opened
    int shown = 0;                 // index into open; 0 when open is empty
    std::vector<PageState> closed; // oldest first, at most kMaxClosed

    static constexpr int kMaxClosed = PageList::kMaxClosed;

    bool isEmpty() const { return open.empty(); }
    friend bool operator==(const Session&, const Session&) = default;
};

// The session file, BD/QV_Sessao.mdb: the pages open, written as they change, so that a run
// that dies (killed, crashed, the power gone) leaves them behind for the next start. A normal
// end stores that no page is open. Every write replaces the whole set in one transaction: the
// file holds one set that existed, never a mix. Writes never wait for the disk on the caller's
// thread: a writer thread stores the latest session queued (older ones still queued are
// dropped).
class SessionStore : public QObject {
    Q_OBJECT
public:
    // The file's layout; a file written by a newer program is not read, nor written over.
    static constexpr int kVersion = 1;
    // A page's back and forward list above this size is neither stored nor read back (the page
    // is, without it); a page whose address is longer than kMaxAddressLength is left out.
    static constexpr qsizetype kMaxHistoryBytes = 1024 * 1024;

    // Opens the file, creating it when missing. A file that cannot be read (damaged, a folder,
    // of a newer version, of another shape) is renamed aside and a new one made in its place;
    // `notice` (when given) receives a message naming both files. Throws QvError naming the
    // file when nothing can be stored there at all (the folder or file read-only, the renaming
    // refused): the caller then goes on with disabled().
    static std::unique_ptr<SessionStore> open(const QString& path, QString* notice = nullptr);
    // A store that keeps nothing; `failure` is why.
    static std::unique_ptr<SessionStore> disabled(const QString& path, const QString& failure);
    // Stores what is queued, then stops the writer.
    ~SessionStore() override;

    // What the file held when it was opened: the pages of a run that did not end normally.
    const Session& leftBehind() const { return m_leftBehind; }

    // Queues the session to be written; returns at once.
    void write(Session session);
    // The program ends normally: the closed pages stay, no page is open. Returns once stored
    // (or once the write failed, which writeFailed tells).
    void endNormally(std::vector<PageState> closed);
    // Returns once everything queued before the call is stored (or dropped after a failure).
    void flush();

    bool hasFailed() const;
    const QString& path() const { return m_path; }

    // Through a connection of its own: what the file at `path` holds. A missing file holds an
    // empty session; one that cannot be read throws QvError naming it.
    static Session readFile(const QString& path);

Q_SIGNALS:
    // A write failed; emitted once, on the thread the store belongs to, with a message naming
    // the file. Later writes are dropped; what the file holds stays.
    void writeFailed(const QString& message);

private:
    class Writer;
    SessionStore(const QString& path, Session leftBehind, std::unique_ptr<Writer> writer,
                 const QString& failure);

    QString m_path;
    Session m_leftBehind;
    std::unique_ptr<Writer> m_writer;
    QString m_failure;
};
