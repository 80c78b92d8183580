#include "browser/AppSetup.h"

#include "browser/Form1_Ini.h"
#include "browser/WebEngineBrowser.h"
#include "forms/BrowserControl.h"
#include "forms/Forms.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <unistd.h>

void AppSetup::beforeApplication()
{
    // Chromium cannot use its sandbox as root; everyone else keeps it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Windows are placed at stored screen positions and the pointer is read globally, which
    // Wayland clients cannot do.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
}

void AppSetup::afterApplication()
{
    // A desktop theme must not invert the skin: a fixed style with the usual light palette.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette pal = QApplication::style()->standardPalette();
    pal.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    pal.setColor(QPalette::WindowText, Qt::black);
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Button, QColor(0xF0, 0xF0, 0xF0));
    pal.setColor(QPalette::ButtonText, Qt::black);
    QApplication::setPalette(pal);
    QApplication::setQuitOnLastWindowClosed(false);
    BrowserControl::setFactory([](QWidget* parent) { return new WebEngineBrowser(parent); });
    MainWindow::setLoader([]() -> MainWindow& { return Forms::get<Form1_Ini>(); });
}
