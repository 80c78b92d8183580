#include "core/Platform.h"

#include <QtGlobal>

namespace {
std::unique_ptr<Platform>& current()
{
    static std::unique_ptr<Platform> p;
    return p;
}
} // namespace

Platform& Platform::instance()
{
    // The application's set-up installs the desktop, tests a fake: reaching the outside world
    // before either is a programmer's error.
    if (!current())
        qFatal("quorvane: no platform installed");
    return *current();
}

void Platform::install(std::unique_ptr<Platform> platform) { current() = std::move(platform); }
