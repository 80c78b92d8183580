#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a `kill`, Ctrl+C in a terminal, the session ending) end the
// program as its close image does, on the UI thread: the pages are not kept as left behind.
// A second signal while that runs ends the process at once, as the system's default.
class EndSignals : public QObject {
    Q_OBJECT
public:
    // `end` runs on the UI thread once per run, for the first signal.
    EndSignals(std::function<void()> end, QObject* parent);
    ~EndSignals() override;

private:
    std::function<void()> m_end;
    QSocketNotifier* m_notifier;
};
