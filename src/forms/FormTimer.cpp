#include "forms/FormTimer.h"

#include "forms/WindowTrace.h"

#include <algorithm>

namespace {
double g_speedFactor = 1.0;
}

void FormTimer::setSpeedFactorForTesting(double factor) { g_speedFactor = factor; }

FormTimer::FormTimer(const QString& name, bool enabled, int interval, QObject* parent)
    : QObject(parent)
    , m_enabled(enabled)
    , m_interval(interval)
{
    setObjectName(name);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        WindowTrace::note(this, "fired");
        Q_EMIT Timer();
    });
    restart();
}

void FormTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    restart();
}

void FormTimer::setInterval(int ms)
{
    m_interval = std::max(ms, 0);
    restart();
}

void FormTimer::restart()
{
    if (m_enabled && m_interval > 0) {
        m_timer.start(std::max(1, int(m_interval / g_speedFactor)));
        WindowTrace::note(this, "started");
    } else {
        m_timer.stop();
    }
}
