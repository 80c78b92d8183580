#pragma once

#include "forms/LayoutTable.h"

#include <QLabel>
#include <QPixmap>
#include <QWidget>

// Mouse events in the handlers' terms: a press and a release of any button, and a click when
// the left button is released over the control it was pressed on.

// A label: plain text, word-wrapped inside its rectangle, clipped.
class LabelControl : public QLabel {
    Q_OBJECT
public:
    explicit LabelControl(QWidget* parent);

Q_SIGNALS:
    void MouseDown(Qt::MouseButton button);
    void MouseUp(Qt::MouseButton button);
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// An image: its picture drawn at the top-left corner, or stretched to the control.
class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent);

    const QPixmap& picture() const { return m_picture; }
    void setPicture(const QPixmap& picture);
    void setStretch(bool stretch) { m_stretch = stretch; }

Q_SIGNALS:
    void MouseDown(Qt::MouseButton button);
    void MouseUp(Qt::MouseButton button);
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
    bool m_stretch = false;
};

// Rectangles, rounded rectangles and circles; they never take the pointer.
class ShapeControl : public QWidget {
    Q_OBJECT
public:
    using Shape = layout::ShapeKind;
    ShapeControl(QWidget* parent, Shape shape, QColor border, int borderWidth, QColor fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Shape m_shape;
    QColor m_border;
    int m_borderWidth;
    QColor m_fill;
};

// A straight line between two points of the window; it never takes the pointer.
class LineControl : public QWidget {
    Q_OBJECT
public:
    LineControl(QWidget* parent, QPoint from, QPoint to, QColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint m_from;
    QPoint m_to;
    QColor m_color;
};
