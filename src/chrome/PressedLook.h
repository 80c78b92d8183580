#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QLabel;
class QWidget;

// An image or label that serves as a button moves 15 twips right and down while a pointer
// button is held on it; its former place is kept as text in a pair of hidden labels.
class PressedLook : public QObject {
    Q_OBJECT
public:
    struct Slot {
        QLabel* top;
        QLabel* left;
    };
    struct Moved {
        QWidget* control;
        Slot slot;
    };

    using QObject::QObject;

    static void desceBotao(QWidget* botao, Slot slot);
    static void sobeBotao(QWidget* botao, Slot slot);

    // Makes trigger a button (see Controls::makeButton). Presses on it move every control of the
    // group. While one button is held, further buttons neither move the group again nor end the
    // press: the group returns to its place when the last button is released.
    void attach(QWidget* trigger, std::vector<Moved> group);

private:
    void press(QWidget* trigger, const std::vector<Moved>& group, Qt::MouseButton button);
    void release(QWidget* trigger, const std::vector<Moved>& group, Qt::MouseButton button);

    QPointer<QWidget> m_pressed;
    Qt::MouseButtons m_buttons;
};
