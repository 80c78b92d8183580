#include "sites/ListBackground.h"

#include <QListView>
#include <QStyledItemDelegate>

namespace {
// Rows of a fixed height, so that every band of the tiled picture holds a whole number of them
// and its lines fall between items, never through their text.
class BandRowDelegate : public QStyledItemDelegate {
public:
    BandRowDelegate(int rowHeight, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_rowHeight(rowHeight)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_rowHeight);
        return size;
    }

private:
    int m_rowHeight;
};
} // namespace

void ListBackground::apply(QListView* list, const QPixmap& pattern)
{
    list->setFrameShape(QFrame::NoFrame);
    QPalette pal = list->palette();
    if (!pattern.isNull()) {
        pal.setBrush(QPalette::Base, QBrush(pattern));
        // The picture's bands are two rows of the list's text high.
        list->setItemDelegate(
            new BandRowDelegate(int(pattern.deviceIndependentSize().height()) / 2, list));
    }
    list->setPalette(pal);
    list->viewport()->setAutoFillBackground(true);
}
