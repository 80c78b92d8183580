#include "dialogs/PaintedList.h"

#include "forms/FormBuilder.h"
#include "forms/LayoutTable.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

PaintedList::PaintedList(QWidget* parent, const QString& name, int rowHeight, int rowsShown)
    : QWidget(parent)
    , m_rowHeight(rowHeight)
    , m_rowsShown(rowsShown)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(rowsShown * rowHeight);
}

void PaintedList::setCount(int count)
{
    m_count = count;
    m_current = count == 0 ? -1 : std::clamp(m_current, 0, count - 1);
    keepInView();
}

void PaintedList::step(int delta)
{
    if (m_count > 0)
        setCurrent(m_current + delta);
}

void PaintedList::setCurrent(int row)
{
    if (m_count == 0)
        return;
    m_current = std::clamp(row, 0, m_count - 1);
    keepInView();
}

void PaintedList::keepInView()
{
    m_top = std::clamp(m_top, std::max(0, m_current - m_rowsShown + 1), std::max(0, m_current));
    setAccessibleDescription(m_current < 0 ? QString() : spokenRow(m_current));
    update();
}

int PaintedList::rowAt(const QPointF& position) const
{
    const int row = m_top + int(position.y()) / m_rowHeight;
    return rect().contains(position.toPoint()) && row < m_count ? row : -1;
}

void PaintedList::mousePressEvent(QMouseEvent* event)
{
    m_pressed = -1;
    if (event->button() != Qt::LeftButton)
        return;
    if (const int row = rowAt(event->position()); row >= 0) {
        m_pressed = row;
        m_current = row;
        keepInView();
    }
}

void PaintedList::mouseReleaseEvent(QMouseEvent* event)
{
    const int pressed = std::exchange(m_pressed, -1);
    if (event->button() == Qt::LeftButton && pressed >= 0 && rowAt(event->position()) == pressed)
        Q_EMIT rowClicked(pressed);
}

void PaintedList::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (m_count == 0) {
        p.setFont(FormBuilder::font(layout::kSans825));
        p.setPen(QColor(layout::kSkinDetail));
        p.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignCenter | Qt::TextWordWrap, emptyText());
        return;
    }
    const int end = std::min(m_count, m_top + m_rowsShown);
    for (int row = m_top; row < end; ++row) {
        const QRect box(0, (row - m_top) * m_rowHeight, width(), m_rowHeight);
        if (row == m_current) {
            p.fillRect(box, QColor(layout::kSkinCurrentFill));
            p.setPen(QColor(layout::kSkinCyan));
            p.drawRect(box.adjusted(0, 0, -1, -1));
        } else if (row > m_top) {
            p.setPen(QColor(layout::kSkinRule));
            p.drawLine(box.left() + 4, box.top(), box.right() - 4, box.top());
        }
        paintRow(p, row, box);
    }
}
