#pragma once

#include <QPixmap>

class QListWidget;

// The site list without a border, its background the tiled picture, item texts drawn
// straight onto it.
namespace ListBackground {
void apply(QListWidget* list, const QPixmap& pattern);
}
