#pragma once

#include "forms/LayoutTable.h"

#include <QColor>
#include <QFont>

class QWidget;

// Makes a window's controls from its layout table: names, geometry, texts, colours, fonts,
// tooltips, pictures and stacking order (child windows above the painted controls).
namespace FormBuilder {

void build(QWidget* window, const layout::Form& form);

QColor color(int rgb);
QFont font(const layout::Font& font);

} // namespace FormBuilder
