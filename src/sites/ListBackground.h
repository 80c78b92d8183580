#pragma once

#include <QPixmap>

class QListView;

// The site list without a border, its background the tiled picture, item texts drawn
// straight onto it.
namespace ListBackground {
void apply(QListView* list, const QPixmap& pattern);
}
