#pragma once

#include <QPoint>
#include <QString>

#include <memory>

// Everything the program does to the outside world goes through here, so that tests can
// record it instead.
class Platform {
public:
    virtual ~Platform() = default;

    virtual void beep() = 0;
    // Hands a text (an address or a path) to the system's default handler; does not wait.
    virtual void openExternal(const QString& text) = 0;
    // Opens a document with its associated application.
    virtual void openFile(const QString& path) = 0;
    // The pointer position in screen pixels.
    virtual QPoint cursorPos() const = 0;
    virtual bool trayAvailable() const = 0;
    // Ends the process once the current handler has returned.
    virtual void endProcess(int exitCode) = 0;

    // The one installed with install(): the desktop at start-up, a fake in tests.
    static Platform& instance();
    static void install(std::unique_ptr<Platform> platform);
};
