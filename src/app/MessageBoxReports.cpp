#include "app/MessageBoxReports.h"

#include "core/ErrorReporter.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxReports::install()
{
    ErrorReporter::setHandler([](const QString& message) {
        qWarning("quorvane: %s", qPrintable(message));
        if (qobject_cast<QApplication*>(QCoreApplication::instance()))
            QMessageBox::critical(nullptr, QStringLiteral("Maravel Quorvane"), message);
    });
}
