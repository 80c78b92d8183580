#pragma once

#include "forms/BrowserControl.h"

#include <QStringList>

#include <utility>

// A browser control that records navigations and what it was asked to do.
class FakeBrowser : public BrowserControl {
    Q_OBJECT
public:
    using BrowserControl::BrowserControl;

    void Navigate(const QString& address) override;
    // No history: going back or forward is counted and does nothing.
    bool canGoBack() const override { return false; }
    bool canGoForward() const override { return false; }
    void GoBack() override { ++backCalls; }
    void GoForward() override { ++forwardCalls; }
    void setSilent(bool silent) override;
    bool Silent() const override { return m_silent; }
    QString LocationURL() const override { return location; }
    void Refresh() override { ++refreshCalls; }
    qreal zoomFactor() const override { return factor; }
    void setZoomFactor(qreal f) override { factor = f; }
    QString title() const override { return pageTitle; }
    // Records the search; the test answers with findFinished.
    void findText(const QString& text, Find direction) override
    {
        searches.append({text, direction});
    }
    // Records the file; the test answers with pdfPrinted.
    void printToPdf(const QString& filePath) override { printedTo.append(filePath); }

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
    QString pageTitle;
    QList<std::pair<QString, Find>> searches;
    QStringList printedTo;

    static void installFactory();

private:
    bool m_silent = false;
};
