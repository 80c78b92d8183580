#include "dialogs/FindForm.h"

#include "core/ErrorReporter.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

FindForm::FindForm()
    : AnswerForm(layout::FindFormLayout, Place::AtFootOfMainWindow)
    , txtBusca(control<QLineEdit>("txtBusca"))
    , lblContagem(control<QLabel>("lblContagem"))
{
    connectHandler(txtBusca, &QLineEdit::textEdited, this,
                   [](FindForm* f) { f->find(BrowserControl::Find::Next); });
}

void FindForm::open(BrowserControl* browser)
{
    FindForm& form = Forms::get<FindForm>();
    if (form.m_browser != browser) {
        if (form.m_browser)
            disconnect(form.m_browser, nullptr, &form, nullptr);
        form.m_browser = browser;
        connect(browser, &BrowserControl::findFinished, &form, &FindForm::showCount);
    }
    form.Show();
    form.txtBusca->setFocus();
    form.txtBusca->selectAll();
}

void FindForm::Form_Unload()
{
    if (m_browser)
        m_browser->findText(QString(), BrowserControl::Find::Next);
}

void FindForm::acceptAnswer() { find(BrowserControl::Find::Next); }

void FindForm::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers().testFlag(Qt::ShiftModifier))
        ErrorReporter::guard([this] { find(BrowserControl::Find::Previous); });
    else
        AnswerForm::keyPressEvent(event);
}

void FindForm::find(BrowserControl::Find direction)
{
    const QString text = txtBusca->text();
    if (text.isEmpty())
        lblContagem->clear();
    if (m_browser)
        m_browser->findText(text, direction);
}

void FindForm::showCount(int active, int matches)
{
    // A result that comes after the box was emptied belongs to no search.
    if (txtBusca->text().isEmpty())
        return lblContagem->clear();
    lblContagem->setText(matches == 0 ? QStringLiteral("Nada encontrado")
                                      : QStringLiteral("%1 de %2").arg(active).arg(matches));
}
