#pragma once

#include "dialogs/AnswerForm.h"

#include <memory>

class QLineEdit;
class SuggestionIndex;
class SuggestionList;
class SuggestionQuery;

// "Quorvane - Ir para": a text box and up to eight suggestions from the saved sites and the
// history under it. Enter opens the current suggestion, or what was typed (an address, or a web
// search); Escape closes; Up and Down choose. The browser is the main window's.
class GotoForm : public AnswerForm {
    Q_OBJECT
public:
    GotoForm();
    ~GotoForm() override;

    // Loads the window (its suggestions are read on a thread of their own), or brings it forward
    // with its text selected.
    static GotoForm& open();

    void Form_Load() override;
    bool suggestionsReady() const { return m_query != nullptr; }

Q_SIGNALS:
    void suggestionsLoaded();

protected:
    void acceptAnswer() override;

private:
    void loadSuggestions();
    void takeSuggestions(std::shared_ptr<const SuggestionIndex> index);
    void suggest();
    void pick(int row);
    void goTyped();
    void go(const QString& address);

    QLineEdit* txtEndereco;
    SuggestionList* lstSugestoes;
    std::unique_ptr<SuggestionQuery> m_query;
};
