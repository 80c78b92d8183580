#pragma once

#include <QWebEnginePage>

// Stands in for the new window a page asks for (target=_blank, window.open, a middle click):
// its first address is loaded in the page that asked, as the next step of that page's history,
// so that Back returns to it. There is only one view.
class NewWindowRequest : public QWebEnginePage {
    Q_OBJECT
public:
    explicit NewWindowRequest(QWebEnginePage* opener);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    QWebEnginePage* m_opener;
};
