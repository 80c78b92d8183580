#include "app/DesktopPlatform.h"

#include "core/QvError.h"
#include "core/UrlTools.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QSystemTrayIcon>
#include <QUrl>

void DesktopPlatform::beep() { QApplication::beep(); }

void DesktopPlatform::openExternal(const QString& text)
{
    const QUrl url = addressToUrl(text);
    if (!url.isValid() || url.isEmpty() || !QDesktopServices::openUrl(url))
        throw QvError(QStringLiteral("Não foi possível abrir \"%1\" fora do programa.").arg(text));
}

void DesktopPlatform::openFile(const QString& path)
{
    // Failure is not reported: a missing document simply does not open.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QPoint DesktopPlatform::cursorPos() const { return QCursor::pos(); }

bool DesktopPlatform::trayAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void DesktopPlatform::endProcess(int exitCode) { QCoreApplication::exit(exitCode); }
