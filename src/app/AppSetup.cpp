#include "app/AppSetup.h"

#include "app/DesktopPlatform.h"
#include "app/MessageBoxReports.h"

#include "browser/Form1_Ini.h"
#include "dialogs/Form5_Msg.h"
#include "engine/WebEngineBrowser.h"
#include "forms/BrowserControl.h"
#include "forms/Forms.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

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
    // The desktop entry's name; the windows' class (WM_CLASS "Quorvane") is its StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral(QV_APP_ID));
}

namespace {
// Qt's own texts (the text boxes' menus, standard buttons) in Portuguese, and the engine too:
// it takes its language (error pages, built-in texts) from the default locale when it starts.
void speakPortuguese()
{
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brazil);
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(brazil, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}
} // namespace

void AppSetup::afterApplication()
{
    speakPortuguese();
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
    Platform::install(std::make_unique<DesktopPlatform>());
    MessageBoxReports::install();
    BrowserControl::setFactory([](QWidget* parent) { return new WebEngineBrowser(parent); });
    MainWindow::setLoader([]() -> MainWindow& { return Forms::get<Form1_Ini>(); });
}

namespace {
void toFront(QWidget* window)
{
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

void AppSetup::bringToFront()
{
    const QList<BaseForm*> windows = Forms::loaded();
    for (BaseForm* f : windows) {
        auto* skinned = qobject_cast<SkinnedForm*>(f);
        if (skinned && !skinned->isVisible() && skinned->trayIconVisible()) {
            skinned->trayActivated(QSystemTrayIcon::Trigger);
            toFront(skinned);
            return;
        }
    }
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if ((*it)->isVisible()) {
            toFront(*it);
            return;
        }
    }
    toFront(&Forms::get<Form1_Ini>());
}

void AppSetup::openFromOutside(const QStringList& addresses, const QStringList& notices, Show show)
{
    if (show == Show::Always || !addresses.isEmpty())
        bringToFront();
    if (!addresses.isEmpty())
        MainWindow::get().openInNewPages(addresses);
    for (const QString& notice : notices)
        showNotice(notice);
}
