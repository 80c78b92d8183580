#include "chrome/PressedLook.h"

#include "core/Twips.h"
#include "forms/BaseForm.h"
#include "forms/Controls.h"

#include <QLabel>

void PressedLook::desceBotao(QWidget* botao, Slot slot)
{
    slot.top->setText(QString::number(BaseForm::controlTop(botao)));
    slot.left->setText(QString::number(BaseForm::controlLeft(botao)));
    BaseForm::setControlTop(botao, BaseForm::controlTop(botao) + kTwipsPerPixel);
    BaseForm::setControlLeft(botao, BaseForm::controlLeft(botao) + kTwipsPerPixel);
}

void PressedLook::sobeBotao(QWidget* botao, Slot slot)
{
    BaseForm::setControlTop(botao, slot.top->text().toDouble());
    BaseForm::setControlLeft(botao, slot.left->text().toDouble());
}

void PressedLook::attach(QWidget* trigger, std::vector<Moved> group)
{
    Controls::makeButton(trigger);
    auto onDown = [this, trigger, group](Qt::MouseButton b) { press(trigger, group, b); };
    auto onUp = [this, trigger, group](Qt::MouseButton b) { release(trigger, group, b); };
    if (auto* image = qobject_cast<ImageControl*>(trigger)) {
        connect(image, &ImageControl::MouseDown, this, onDown);
        connect(image, &ImageControl::MouseUp, this, onUp);
    } else if (auto* label = qobject_cast<LabelControl*>(trigger)) {
        connect(label, &LabelControl::MouseDown, this, onDown);
        connect(label, &LabelControl::MouseUp, this, onUp);
    }
}

void PressedLook::press(QWidget* trigger, const std::vector<Moved>& group, Qt::MouseButton button)
{
    if (m_pressed == trigger) {
        m_buttons |= button;
        return;
    }
    m_pressed = trigger;
    m_buttons = button;
    for (const Moved& m : group)
        desceBotao(m.control, m.slot);
}

void PressedLook::release(QWidget* trigger, const std::vector<Moved>& group, Qt::MouseButton button)
{
    if (m_pressed != trigger)
        return;
    m_buttons &= ~Qt::MouseButtons(button);
    if (m_buttons)
        return;
    m_pressed = nullptr;
    for (const Moved& m : group)
        sobeBotao(m.control, m.slot);
}
