#include "navigation/SuggestionList.h"

#include "core/DisplayText.h"
#include "forms/FormBuilder.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr QRgb kCyan = layout::kSkinCyan;
constexpr QRgb kAddress = layout::kSkinDetail;
constexpr QRgb kCurrentFill = layout::kSkinCurrentFill;
constexpr QRgb kRule = layout::kSkinRule;
constexpr int kStarWidth = 16;

// Far more than a row shows: eliding measures the whole text, which may be very long. Stored
// text is shown as one line, whatever the page or the import put in it.
QString clipped(const QString& text)
{
    constexpr qsizetype kKeep = 200;
    return DisplayText::oneLine(text.size() <= 2 * kKeep ? text
                                                         : text.left(kKeep) + text.right(kKeep));
}
} // namespace

SuggestionList::SuggestionList(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("lstSugestoes"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
}

void SuggestionList::setSuggestions(std::vector<Suggestion> suggestions)
{
    m_items = std::move(suggestions);
    m_current = -1;
    update();
}

void SuggestionList::step(int delta)
{
    const int n = int(m_items.size());
    if (n == 0)
        return;
    m_current = std::clamp(m_current + delta, -1, n - 1);
    update();
}

void SuggestionList::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    for (int row = 0; row < int(m_items.size()); ++row)
        paintRow(p, row);
    p.end();
    Q_EMIT painted();
}

void SuggestionList::paintRow(QPainter& p, int row)
{
    const Suggestion& s = m_items[size_t(row)];
    const QRect box(0, row * kRowHeight, width(), kRowHeight);
    if (row == m_current) {
        p.fillRect(box, QColor(kCurrentFill));
        p.setPen(QColor(kCyan));
        p.drawRect(box.adjusted(0, 0, -1, -1));
    } else if (row > 0) {
        p.setPen(QColor(kRule));
        p.drawLine(box.left() + kStarWidth, box.top(), box.right() - 2, box.top());
    }
    const int textLeft = box.left() + kStarWidth;
    const int textWidth = box.width() - kStarWidth - 4;
    if (s.saved) {
        p.setPen(QColor(kCyan));
        p.setFont(FormBuilder::font(layout::kSans975));
        p.drawText(QRect(box.left(), box.top(), kStarWidth, kRowHeight / 2 + 2), Qt::AlignCenter,
                   QStringLiteral("★"));
    }
    QFont title = FormBuilder::font(layout::kSans825Bold);
    p.setFont(title);
    p.setPen(Qt::white);
    const QFontMetrics tm(title);
    p.drawText(QRect(textLeft, box.top() + 2, textWidth, kRowHeight / 2),
               Qt::AlignLeft | Qt::AlignVCenter,
               tm.elidedText(clipped(s.title), Qt::ElideRight, textWidth));
    const QFont address = FormBuilder::font(layout::kSans825);
    p.setFont(address);
    p.setPen(QColor(kAddress));
    const QFontMetrics am(address);
    p.drawText(QRect(textLeft, box.top() + kRowHeight / 2, textWidth, kRowHeight / 2 - 2),
               Qt::AlignLeft | Qt::AlignVCenter,
               am.elidedText(clipped(s.url), Qt::ElideMiddle, textWidth));
}

void SuggestionList::mousePressEvent(QMouseEvent* event)
{
    const int row = int(event->position().y()) / kRowHeight;
    if (event->button() == Qt::LeftButton && row >= 0 && row < int(m_items.size())) {
        m_current = row;
        update();
        Q_EMIT picked(row);
    }
}
