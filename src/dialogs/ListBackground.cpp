#include "dialogs/ListBackground.h"

#include <QListWidget>

void ListBackground::apply(QListWidget* list, const QPixmap& pattern)
{
    list->setFrameShape(QFrame::NoFrame);
    QPalette pal = list->palette();
    if (!pattern.isNull())
        pal.setBrush(QPalette::Base, QBrush(pattern));
    list->setPalette(pal);
    list->viewport()->setAutoFillBackground(true);
}
