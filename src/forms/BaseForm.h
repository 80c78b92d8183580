#pragma once

#include "forms/LayoutTable.h"

#include <QWidget>

class FormTimer;
class QShortcut;

// A window of the program: built from its layout table, loaded through the Forms registry,
// positioned in twips, and unloaded (destroyed) as a whole.
class BaseForm : public QWidget {
    Q_OBJECT
public:
    explicit BaseForm(const layout::Form& form);

    QString Name() const { return objectName(); }

    virtual void Form_Load() {}
    // Runs when the window is being unloaded, whatever the cause.
    virtual void Form_Unload() {}

    // Screen position and size in twips.
    int Left() const;
    int Top() const;
    void setLeft(double twips);
    void setTop(double twips);
    int Width() const;
    int Height() const;
    void setWidth(int twips);
    void setHeight(int twips);

    // Shows, raises and activates the window, first moving it onto a screen when too little of it
    // would be seen (see keepOnScreen).
    void Show();
    void Hide() { hide(); }
    // Shows the window modally; returns when it has been unloaded.
    void showModal();
    void minimize();

    // Generic Left/Top/Width/Height of a control, in twips relative to the window.
    static int controlLeft(const QWidget* c);
    static int controlTop(const QWidget* c);
    static void setControlLeft(QWidget* c, double twips);
    static void setControlTop(QWidget* c, double twips);
    static void setControlWidth(QWidget* c, double twips);
    static void setControlHeight(QWidget* c, double twips);

    // Least part of a window that must lie on a screen for it to be reached and dragged.
    static constexpr QSize kLeastSeen{100, 50};
    // When less than kLeastSeen of the window lies on every screen, moves it to the nearest place
    // wholly on the nearest screen. Only the window moves: stored positions stay as they are.
    void keepOnScreen();

Q_SIGNALS:
    void unloaded();

protected:
    // The parts of the layout by name, for a window's constructor to bind its members with: a
    // name the layout does not have (or a control of another type) throws QvError, so a
    // misspelt name fails when the window is built.
    template <class T>
    T* control(const char* name) const
    {
        auto* c = findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        if (!c)
            missingFromLayout("o controle", name);
        return c;
    }
    FormTimer* timer(const char* name) const;

    // A key of the whole window; it goes before the focused control's own use of the key.
    QShortcut* windowKey(int key);
    // Tab goes through the controls that take focus in reading order: rows top to bottom,
    // left to right within a row.
    void orderFocusByPlace();

    // A press of any pointer button on the window's own surface.
    virtual void Form_MouseDown(Qt::MouseButton) {}

    // A close asked from outside (window manager, task bar, Alt+F4); by default it unloads the
    // window. Windows with a close button of their own do what it does.
    virtual void closeFromOutside();

    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    [[noreturn]] void missingFromLayout(const char* what, const char* name) const;

    friend class Forms;
    bool m_unloading = false;
};
