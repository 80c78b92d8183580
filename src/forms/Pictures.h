#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// Our pictures are SVGs, drawn at the pixel size the layouts give, times the screens' device
// pixel ratio (the pixmap carries that ratio, so it paints at the layout's size).
namespace Pictures {

QPixmap pixmap(const QString& name, int width, int height);
QPixmap pixmap(const QString& name, int width, int height, double ratio);
// The program icon in its eight sizes, 16 to 256 pixels.
QIcon applicationIcon();
// The 32 x 32 pointer of clickable labels and images.
QCursor handCursor();

} // namespace Pictures
