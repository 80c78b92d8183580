#include "engine/WebView.h"

#include "core/ErrorReporter.h"
#include "core/Platform.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QWebEngineContextMenuRequest>

namespace {
// The skin's colours: black, cyan text, the highlight as on the windows' buttons.
constexpr char kMenuStyle[] = "QMenu { background: #000000; color: #00FAFA; border: 1px solid "
                              "#00FAFA; font: 8pt 'Liberation Sans'; }"
                              "QMenu::item { padding: 3px 16px; }"
                              "QMenu::item:selected { background: #008080; color: #FFFFFF; }"
                              "QMenu::item:disabled { color: #6D6D6D; }"
                              "QMenu::separator { height: 1px; background: #008080; }";
} // namespace

void WebView::contextMenuEvent(QContextMenuEvent* event)
{
    const QWebEngineContextMenuRequest* request = lastContextMenuRequest();
    if (!request)
        return;
    QMenu* menu = createMenu(*request);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QMenu* WebView::createMenu(const QWebEngineContextMenuRequest& request)
{
    auto* menu = new QMenu(this);
    menu->setStyleSheet(QString::fromLatin1(kMenuStyle));
    if (!request.misspelledWord().isEmpty())
        addSpellingSuggestions(menu, request);
    addPageAction(menu, QStringLiteral("Voltar"), QWebEnginePage::Back);
    addPageAction(menu, QStringLiteral("Avançar"), QWebEnginePage::Forward);
    addPageAction(menu, QStringLiteral("Recarregar"), QWebEnginePage::Reload);
    const auto flags = request.editFlags();
    menu->addSeparator();
    addPageAction(menu, QStringLiteral("Copiar"), QWebEnginePage::Copy)
        ->setEnabled(flags.testFlag(QWebEngineContextMenuRequest::CanCopy));
    addPageAction(menu, QStringLiteral("Colar"), QWebEnginePage::Paste)
        ->setEnabled(flags.testFlag(QWebEngineContextMenuRequest::CanPaste));
    const QUrl link = request.linkUrl();
    if (link.isValid()) {
        menu->addSeparator();
        addPageAction(menu, QStringLiteral("Copiar endereço do link"),
                      QWebEnginePage::CopyLinkToClipboard);
        menu->addAction(QStringLiteral("Abrir link fora do programa"), this, [link] {
            ErrorReporter::guard(
                [&] { Platform::instance().openExternal(link.toString(QUrl::FullyEncoded)); });
        });
        // The download that follows is handled like any other.
        addPageAction(menu, QStringLiteral("Salvar link"), QWebEnginePage::DownloadLinkToDisk);
    }
    return menu;
}

// A misspelled word in a text field: the dictionary's suggestions first, each replacing it.
void WebView::addSpellingSuggestions(QMenu* menu, const QWebEngineContextMenuRequest& request)
{
    const QStringList suggestions = request.spellCheckerSuggestions();
    for (const QString& word : suggestions)
        menu->addAction(word, this, [this, word] { page()->replaceMisspelledWord(word); });
    if (suggestions.isEmpty())
        menu->addAction(QStringLiteral("Nenhuma sugestão"))->setEnabled(false);
    menu->addSeparator();
}

QAction* WebView::addPageAction(QMenu* menu, const QString& text, QWebEnginePage::WebAction action)
{
    QAction* source = pageAction(action);
    QAction* item = menu->addAction(text, source, &QAction::trigger);
    item->setEnabled(source->isEnabled());
    return item;
}
