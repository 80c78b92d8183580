#include "forms/Controls.h"

#include "forms/Accessible.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWindow>

namespace {

constexpr char kButtonProperty[] = "qvButton";
const QColor kFocusRing(0x00, 0xFA, 0xFA);

// Watches the presses the windows receive, before their widgets do. Qt hands a widget the
// second press of a double click as a double click only. When that second press lands on another
// window than the first (a window shown by the first click), that window gets none of it: neither
// the double click nor its release.
//
// It also notes whether Tab is being pressed: a window that opens hands its first control the
// focus with the same reason as Tab does, and only the key shows the focus ring.
class ClickSequence : public QObject {
public:
    static inline bool tabbing = false;

    static void install()
    {
        static const bool installed = [] {
            qApp->installEventFilter(new ClickSequence);
            return true;
        }();
        Q_UNUSED(installed);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            tabbing = key == Qt::Key_Tab || key == Qt::Key_Backtab;
            return false;
        }
        case QEvent::KeyRelease:
            tabbing = false;
            return false;
        case QEvent::MouseButtonPress:
            tabbing = false;
            m_firstWindow = std::exchange(m_lastWindow, window);
            return false;
        case QEvent::MouseButtonDblClick:
            if (m_firstWindow == window)
                return false;
            m_swallowed |= static_cast<QMouseEvent*>(event)->button();
            return true;
        case QEvent::MouseButtonRelease: {
            const Qt::MouseButton b = static_cast<QMouseEvent*>(event)->button();
            if (!(m_swallowed & b))
                return false;
            m_swallowed &= ~Qt::MouseButtons(b);
            return true;
        }
        default:
            return false;
        }
    }

private:
    QPointer<QWindow> m_firstWindow;
    QPointer<QWindow> m_lastWindow;
    Qt::MouseButtons m_swallowed;
};

} // namespace

// Labels and images speak the same mouse and key signals.
template <class C>
struct ClickTracker {
    static void press(C* c, QMouseEvent* e)
    {
        e->accept();
        c->m_secondPress = false;
        Q_EMIT c->MouseDown(e->button());
    }

    // The second press of a double click.
    static void doubleClick(C* c, QMouseEvent* e)
    {
        e->accept();
        c->m_secondPress = true;
        Q_EMIT c->DblClick();
    }

    static void release(C* c, QMouseEvent* e)
    {
        e->accept();
        const bool second = std::exchange(c->m_secondPress, false);
        Q_EMIT c->MouseUp(e->button());
        if (!second && e->button() == Qt::LeftButton && c->rect().contains(e->position().toPoint()))
            Q_EMIT c->Click();
    }

    static void key(C* c, QKeyEvent* e)
    {
        const int k = e->key();
        const bool acts = k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter;
        if (!acts || !Controls::isButton(c) ||
            (e->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            e->ignore();
            return;
        }
        e->accept();
        c->m_keyboardFocus = true; // a key on a control shows where the focus is
        c->update();
        if (!e->isAutoRepeat())
            Q_EMIT c->Click();
    }

    static void focusIn(C* c, QFocusEvent* e)
    {
        const Qt::FocusReason r = e->reason();
        c->m_keyboardFocus =
            ClickSequence::tabbing && (r == Qt::TabFocusReason || r == Qt::BacktabFocusReason);
        c->update();
    }

    static void focusRing(C* c)
    {
        if (!c->hasFocus() || !c->m_keyboardFocus)
            return;
        QPainter p(c);
        QPen pen(kFocusRing, 1);
        pen.setCosmetic(true); // one device pixel at any scale
        p.setPen(pen);
        p.drawRect(QRectF(c->rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
};

void Controls::makeButton(QWidget* control)
{
    control->setProperty(kButtonProperty, true);
    control->setFocusPolicy(Qt::TabFocus);
    Accessible::install();
}

bool Controls::isButton(const QWidget* control)
{
    return control->property(kButtonProperty).toBool();
}

LabelControl::LabelControl(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setMargin(0);
    setIndent(0);
    ClickSequence::install();
}

void LabelControl::paintEvent(QPaintEvent* e)
{
    QLabel::paintEvent(e);
    ClickTracker<LabelControl>::focusRing(this);
}

void LabelControl::mousePressEvent(QMouseEvent* e) { ClickTracker<LabelControl>::press(this, e); }

void LabelControl::mouseReleaseEvent(QMouseEvent* e)
{
    ClickTracker<LabelControl>::release(this, e);
}

void LabelControl::mouseDoubleClickEvent(QMouseEvent* e)
{
    ClickTracker<LabelControl>::doubleClick(this, e);
}

void LabelControl::keyPressEvent(QKeyEvent* e) { ClickTracker<LabelControl>::key(this, e); }

void LabelControl::focusInEvent(QFocusEvent* e) { ClickTracker<LabelControl>::focusIn(this, e); }

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent)
{
    ClickSequence::install();
}

void ImageControl::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

void ImageControl::paintEvent(QPaintEvent*)
{
    if (!m_picture.isNull()) {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (m_stretch)
            p.drawPixmap(rect(), m_picture);
        else
            p.drawPixmap(0, 0, m_picture);
    }
    ClickTracker<ImageControl>::focusRing(this);
}

void ImageControl::mousePressEvent(QMouseEvent* e) { ClickTracker<ImageControl>::press(this, e); }

void ImageControl::mouseReleaseEvent(QMouseEvent* e)
{
    ClickTracker<ImageControl>::release(this, e);
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* e)
{
    ClickTracker<ImageControl>::doubleClick(this, e);
}

void ImageControl::keyPressEvent(QKeyEvent* e) { ClickTracker<ImageControl>::key(this, e); }

void ImageControl::focusInEvent(QFocusEvent* e) { ClickTracker<ImageControl>::focusIn(this, e); }

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
    // Through the middle of the pixels: at fractional scales a line on their edge can vanish.
    const QPointF mid(0.5, 0.5);
    p.drawLine(QPointF(m_from) + mid, QPointF(m_to) + mid);
}
