#include "forms/Controls.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
// Labels and images speak the same mouse signals.
template <class Control>
void press(Control* c, QMouseEvent* e)
{
    e->accept();
    Q_EMIT c->MouseDown(e->button());
}

template <class Control>
void release(Control* c, QMouseEvent* e)
{
    e->accept();
    Q_EMIT c->MouseUp(e->button());
    if (e->button() == Qt::LeftButton && c->rect().contains(e->position().toPoint()))
        Q_EMIT c->Click();
}
} // namespace

LabelControl::LabelControl(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setMargin(0);
    setIndent(0);
}

void LabelControl::mousePressEvent(QMouseEvent* e) { press(this, e); }

void LabelControl::mouseReleaseEvent(QMouseEvent* e) { release(this, e); }

void LabelControl::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent)
{
}

void ImageControl::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

void ImageControl::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter p(this);
    if (m_stretch)
        p.drawPixmap(rect(), m_picture);
    else
        p.drawPixmap(0, 0, m_picture);
}

void ImageControl::mousePressEvent(QMouseEvent* e) { press(this, e); }

void ImageControl::mouseReleaseEvent(QMouseEvent* e) { release(this, e); }

void ImageControl::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

ShapeControl::ShapeControl(QWidget* parent, Shape shape, QColor border, int borderWidth,
                           QColor fill)
    : QWidget(parent)
    , m_shape(shape)
    , m_border(border)
    , m_borderWidth(borderWidth)
    , m_fill(fill)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, m_shape != Shape::Rectangle);
    if (m_border.isValid()) {
        QPen pen(m_border, m_borderWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
    } else {
        p.setPen(Qt::NoPen);
    }
    p.setBrush(m_fill.isValid() ? QBrush(m_fill) : QBrush(Qt::NoBrush));
    // The border lies inside the control's rectangle.
    const double half = m_border.isValid() ? m_borderWidth / 2.0 : 0.0;
    const QRectF r = QRectF(rect()).adjusted(half, half, -half, -half);
    switch (m_shape) {
    case Shape::Rectangle:
        p.drawRect(r);
        break;
    case Shape::RoundedRectangle: {
        const double radius = std::min(r.width(), r.height()) / 4.0;
        p.drawRoundedRect(r, radius, radius);
        break;
    }
    case Shape::Circle: {
        const double d = std::min(r.width(), r.height());
        p.drawEllipse(QRectF(r.center().x() - d / 2, r.center().y() - d / 2, d, d));
        break;
    }
    }
}

LineControl::LineControl(QWidget* parent, QPoint from, QPoint to, QColor color)
    : QWidget(parent)
    , m_color(color)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QRect box = QRect(from, to).normalized();
    setGeometry(box);
    m_from = from - box.topLeft();
    m_to = to - box.topLeft();
}

void LineControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(m_color, 1));
    p.drawLine(m_from, m_to);
}
