#pragma once

#include <QObject>
#include <QTimer>

// A window timer: it runs only while it is enabled and its interval is above zero.
// (A plain QTimer with interval 0 would fire at every idle pass.)
class FormTimer : public QObject {
    Q_OBJECT
public:
    FormTimer(const QString& name, bool enabled, int interval, QObject* parent);

    bool Enabled() const { return m_enabled; }
    int Interval() const { return m_interval; }
    void setEnabled(bool enabled);
    void setInterval(int ms);
    bool isRunning() const { return m_timer.isActive(); }

    // Test code only: divides every interval by this factor.
    static void setSpeedFactorForTesting(double factor);

Q_SIGNALS:
    void Timer();

private:
    void restart();

    QTimer m_timer;
    bool m_enabled;
    int m_interval;
};
