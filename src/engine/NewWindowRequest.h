#pragma once

#include <QWebEnginePage>

class WebPage;

// Stands in for the new window a page asks for (target=_blank, window.open, a middle click):
// its first address goes to the page that asked, under that page's own rules for a navigation,
// as the next step of its history, so that Back returns to it. There is only one view.
class NewWindowRequest : public QWebEnginePage {
    Q_OBJECT
public:
    explicit NewWindowRequest(WebPage* opener);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    WebPage* m_opener;
};
