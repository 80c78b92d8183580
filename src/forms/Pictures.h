#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// Our pictures are SVGs, drawn at the pixel size the layouts give.
namespace Pictures {

QPixmap pixmap(const QString& name, int width, int height);
// The program icon in its eight sizes, 16 to 256 pixels.
QIcon applicationIcon();
// The 32 x 32 pointer of clickable labels and images.
QCursor handCursor();

} // namespace Pictures
