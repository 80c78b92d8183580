#include "forms/BrowserControl.h"

namespace {
BrowserControl::Factory& factory()
{
    static BrowserControl::Factory f;
    return f;
}
} // namespace

void BrowserControl::setFactory(Factory f) { factory() = std::move(f); }

BrowserControl* BrowserControl::create(QWidget* parent)
{
    Q_ASSERT(factory());
    return factory()(parent);
}
