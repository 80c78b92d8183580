#include "forms/BrowserControl.h"

#include "storage/SessionStore.h"

#include <algorithm>
#include <array>

namespace {
BrowserControl::Factory& factory()
{
    static BrowserControl::Factory f;
    return f;
}
constexpr std::array kZoomLevels{0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                 1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};
// Factors within this distance are the same level (the engine rounds what it is given).
constexpr double kSameLevel = 0.005;
} // namespace

void BrowserControl::zoom(Zoom step)
{
    const double now = zoomFactor();
    double next = 1.0;
    if (step == Zoom::In) {
        auto it = std::find_if(kZoomLevels.begin(), kZoomLevels.end(),
                               [now](double z) { return z > now + kSameLevel; });
        next = it == kZoomLevels.end() ? kZoomLevels.back() : *it;
    } else if (step == Zoom::Out) {
        auto it = std::find_if(kZoomLevels.rbegin(), kZoomLevels.rend(),
                               [now](double z) { return z < now - kSameLevel; });
        next = it == kZoomLevels.rend() ? kZoomLevels.front() : *it;
    }
    setZoomFactor(next);
}

Session BrowserControl::session() const
{
    Session s;
    for (const PageState& page : pageSummaries())
        s.open.push_back(page);
    s.shown = shownIndex();
    return s;
}

void BrowserControl::setFactory(Factory f) { factory() = std::move(f); }

BrowserControl* BrowserControl::create(QWidget* parent)
{
    Q_ASSERT(factory());
    return factory()(parent);
}
