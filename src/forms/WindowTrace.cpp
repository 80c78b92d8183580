#include "forms/WindowTrace.h"

#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QObject>

namespace {
Q_LOGGING_CATEGORY(lcWindows, "quorvane.windows", QtWarningMsg)
}

void WindowTrace::note(const QObject* subject, const char* what)
{
    if (!lcWindows().isInfoEnabled())
        return;
    QString name = subject->objectName();
    if (!subject->isWidgetType() && subject->parent())
        name = subject->parent()->objectName() + u'.' + name;
    qCInfo(lcWindows, "%lld %s %s", QDeadlineTimer::current().deadline(), qPrintable(name), what);
}
