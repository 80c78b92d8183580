#pragma once

#include "forms/BaseForm.h"

class QLabel;

// The timed notice: a message and "Fechando em 3 segundos...", closing itself at the third
// one-second tick. It has no button and reacts to no click or key.
class Form5_Msg : public BaseForm {
    Q_OBJECT
public:
    Form5_Msg();

    void Form_Load() override;
    void TimerCount_Timer();
    // The message, fitted whole into its fixed label.
    void setMessage(const QString& text);

protected:
    // The notice keeps its three seconds whatever asks it to close.
    void closeFromOutside() override {}

private:
    QLabel* lblMensagem;
    QLabel* lblCount;
    QWidget* shpForm;
    FormTimer* TimerCount;
    qint16 m_remaining = 3;
};

// A long text (a file name in a restore notice) still shows whole in a notice's fixed label: long
// words may break after their dots and dashes, and the font gets smaller until the text fits. A
// page's text in it is shown as one line each (DisplayText::oneLine); the notice's own breaks stay.
void fitNoticeText(QLabel* label, const QString& text);

// Beep, set the message, show the notice modally; returns when it has closed itself.
void showNotice(const QString& text);
