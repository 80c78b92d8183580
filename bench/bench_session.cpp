// The session store: what write() costs the caller's thread (the browser's), and how long a set
// of twenty pages takes to be stored (the writer's commit, flushed to the disk) from the call.
// Run: bench_session [-iterations N]
#include "storage/SessionStore.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Twenty pages as a browser holds them: addresses of a usual length, and back and forward lists
// of a few kilobytes.
Session twentyPages(int round)
{
    Session s;
    for (int i = 0; i < 20; ++i)
        s.open.push_back({QStringLiteral("https://www.site%1.example.com.br/noticias/%2/"
                                         "pagina.htm?id=%3")
                              .arg(i)
                              .arg(round)
                              .arg(i * 7919),
                          QStringLiteral("Notícias do dia %1 — página %2").arg(round).arg(i),
                          QByteArray(4096, char('a' + i))});
    s.shown = round % 20;
    for (int i = 0; i < Session::kMaxClosed; ++i)
        s.closed.push_back({QStringLiteral("https://fechada%1.example/").arg(i),
                            QStringLiteral("Fechada %1").arg(i), QByteArray(1024, 'f')});
    return s;
}

} // namespace

class bench_session : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_store = SessionStore::open(m_dir.path() + QStringLiteral("/QV_Sessao.mdb")); }
    void cleanup() { m_store.reset(); }

    void writeOnTheCallersThread()
    {
        const Session s = twentyPages(0);
        QBENCHMARK { m_store->write(s); }
        m_store->flush();
        QVERIFY(!m_store->hasFailed());
    }

    void twentyPagesStored()
    {
        int round = 0;
        QBENCHMARK
        {
            m_store->write(twentyPages(++round));
            m_store->flush();
        }
        QVERIFY(!m_store->hasFailed());
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SessionStore> m_store;
};

QTEST_GUILESS_MAIN(bench_session)
#include "bench_session.moc"
