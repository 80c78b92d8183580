#pragma once

#include "forms/BrowserControl.h"

#include <QStringList>

// A browser control that records navigations and keeps a simple history.
class FakeBrowser : public BrowserControl {
    Q_OBJECT
public:
    using BrowserControl::BrowserControl;

    void Navigate(const QString& address) override;
    void GoBack() override;
    void GoForward() override;
    void setSilent(bool silent) override;
    bool Silent() const override { return m_silent; }
    QString LocationURL() const override { return location; }
    void Refresh() override { ++refreshCalls; }
    qreal zoomFactor() const override { return factor; }
    void setZoomFactor(qreal f) override { factor = f; }

    // The page finished loading at this top-level address.
    void finishLoad(const QString& address);

    QStringList navigations;
    // Silent as it was when each navigation began.
    QList<bool> silentAtNavigation;
    QString location;
    int backCalls = 0;
    int forwardCalls = 0;
    int refreshCalls = 0;
    qreal factor = 1.0;

    static void installFactory();

private:
    bool m_silent = false;
};
