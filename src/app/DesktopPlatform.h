#pragma once

#include "core/Platform.h"

// The real desktop.
class DesktopPlatform : public Platform {
public:
    void beep() override;
    void openExternal(const QString& text) override;
    void openFile(const QString& path) override;
    QPoint cursorPos() const override;
    bool trayAvailable() const override;
    void endProcess(int exitCode) override;
};
