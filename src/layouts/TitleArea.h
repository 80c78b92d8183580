#pragma once

#include "forms/LayoutTable.h"

// Rows shared by the title areas of the four large windows: logo, top tab, the three
// title-bar image pairs (plain image above its highlighted twin) and the frame.
namespace layout::title {

// clang-format off
constexpr Control abaTopo{.name = "abaTopo", .kind = Kind::Image, .left = 2090, .top = 60, .width = 420, .height = 420, .picture = "abaTopo", .pictureWidth = 28, .pictureHeight = 28};
constexpr Control Shape7{.name = "Shape7", .kind = Kind::Shape, .left = 2000, .top = -900, .width = 615, .height = 1455, .shape = ShapeKind::RoundedRectangle, .fillColor = 0x555555};
constexpr Control Label1{.name = "Label1", .kind = Kind::Label, .left = 900, .top = 190, .width = 500, .height = 255, .text = "vane", .foreColor = 0x00FAFA, .font = kSans975Bold};

constexpr Control lblNome3(int height)
{
    return {.name = "lblNome3", .kind = Kind::Label, .left = 330, .top = 30, .width = 975,
            .height = height, .text = "Maravel", .foreColor = 0x008080};
}

constexpr Control lblName1(int color)
{
    return {.name = "lblName1", .kind = Kind::Label, .left = 330, .top = 190, .width = 615,
            .height = 255, .text = "Quor", .foreColor = color, .font = kSans975Bold};
}

// The frame's stored size; every load stretches it to the window.
constexpr Control shpForm(int width, int height)
{
    return {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = width,
            .height = height, .borderColor = 0x555555, .borderWidth = 2};
}

constexpr Control image22(const char* name, int left, const char* toolTip)
{
    return {.name = name, .kind = Kind::Image, .left = left, .top = 145, .width = 330,
            .height = 330, .toolTip = toolTip, .picture = name, .pictureWidth = 22,
            .pictureHeight = 22};
}

constexpr Control imgMinimizar = image22("imgMinimizar", 3120, "  Minimizar  ");
constexpr Control imgFechar = image22("imgFechar", 3900, "  Fechar  ");
constexpr Control imgTray = image22("imgTray", 3510, "  Minimizar para o Tray  ");
// The secondary windows' plain tray image has no tooltip; its highlighted twin has one.
constexpr Control imgTrayNoTip = image22("imgTray", 3510, nullptr);
constexpr Control imgMinimizarOn = image22("imgMinimizarOn", 3120, "  Minimizar  ");
constexpr Control imgFecharOn = image22("imgFecharOn", 3900, "  Fechar  ");
constexpr Control imgTrayOn = image22("imgTrayOn", 3510, "  Minimizar para o Tray  ");
// clang-format on

} // namespace layout::title
