#pragma once

#include <QWebEngineView>

class QMenu;
class QWebEngineContextMenuRequest;

// What the user sees of a page: the view with the program's own right-click menu, in
// Portuguese and holding only actions that work here.
class WebView : public QWebEngineView {
    Q_OBJECT
public:
    using QWebEngineView::QWebEngineView;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QMenu* createMenu(const QWebEngineContextMenuRequest& request);
    void addSpellingSuggestions(QMenu* menu, const QWebEngineContextMenuRequest& request);
    QAction* addPageAction(QMenu* menu, const QString& text, QWebEnginePage::WebAction action);
};
