#pragma once

#include "core/Platform.h"

#include <QStringList>

// Records what the program would have done to the outside world.
class FakePlatform : public Platform {
public:
    void beep() override { ++beeps; }
    void openExternal(const QString& text) override { externals.append(text); }
    void openFile(const QString& path) override { files.append(path); }
    QPoint cursorPos() const override { return cursor; }
    bool trayAvailable() const override { return tray; }
    void endProcess(int exitCode) override { endedWith = exitCode; }

    int beeps = 0;
    QStringList externals;
    QStringList files;
    QPoint cursor{-1000, -1000};
    bool tray = true;
    int endedWith = -1;

    // Installs a fresh fake as the program's platform and returns it.
    static FakePlatform& install();
};
