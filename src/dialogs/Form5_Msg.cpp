#include "dialogs/Form5_Msg.h"

#include "core/DisplayText.h"
#include "core/ErrorReporter.h"
#include "core/Platform.h"
#include "dialogs/DialogPlacement.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"

#include <QLabel>

Form5_Msg::Form5_Msg()
    : BaseForm(layout::Form5_MsgLayout)
    , lblMensagem(control<QLabel>("lblMensagem"))
    , lblCount(control<QLabel>("lblCount"))
    , shpForm(control<QWidget>("shpForm"))
    , TimerCount(timer("TimerCount"))
{
    connectHandler(TimerCount, &FormTimer::Timer, this, &Form5_Msg::TimerCount_Timer);
}

void Form5_Msg::Form_Load()
{
    placeOverAdministrationWindow(*this, *shpForm);
    m_remaining = 3;
    lblCount->setText(QString::number(m_remaining));
    TimerCount->setEnabled(true);
}

void Form5_Msg::TimerCount_Timer()
{
    --m_remaining;
    lblCount->setText(QString::number(m_remaining));
    if (m_remaining < 1) {
        TimerCount->setEnabled(false);
        m_remaining = 0;
        Hide();
        Forms::unload(this);
    }
}

namespace {
// A page's text in a notice (a title, a file name) is shown as one line, without bidirectional
// controls that would reorder what follows; the notice's own line breaks stay.
QString cleaned(const QString& text)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        line = DisplayText::oneLine(line);
    return lines.join(u'\n');
}
} // namespace

void fitNoticeText(QLabel* label, const QString& text)
{
    QStringList words = cleaned(text).split(u' ');
    for (QString& w : words) {
        if (w.size() > 20) {
            w.replace(u'.', QStringLiteral(".\u200B"));
            w.replace(u'-', QStringLiteral("-\u200B"));
        }
    }
    label->setText(words.join(u' '));
    QFont font = label->font();
    while (label->heightForWidth(label->width()) > label->height() && font.pixelSize() > 8) {
        font.setPixelSize(font.pixelSize() - 1);
        label->setFont(font);
    }
}

void Form5_Msg::setMessage(const QString& text) { fitNoticeText(lblMensagem, text); }

void showNotice(const QString& text)
{
    Platform::instance().beep();
    Form5_Msg& msg = Forms::get<Form5_Msg>();
    msg.setMessage(text);
    msg.showModal();
}
