#include "layouts/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "lblPosTop2", .kind = Kind::Label, .left = 1560, .top = 1800, .width = 255, .height = 255, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblPosLeft2", .kind = Kind::Label, .left = 1200, .top = 1800, .width = 255, .height = 255, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblPosTop1", .kind = Kind::Label, .left = 720, .top = 1800, .width = 255, .height = 255, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblPosLeft1", .kind = Kind::Label, .left = 360, .top = 1800, .width = 255, .height = 255, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "btnClose", .kind = Kind::Label, .left = 2015, .top = 930, .width = 495, .height = 210, .text = "NÃO", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE, .font = kSans825Bold, .align = Align::Center},
    {.name = "btnDelete", .kind = Kind::Label, .left = 975, .top = 930, .width = 495, .height = 210, .text = "SIM", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE, .font = kSans825Bold, .align = Align::Center},
    {.name = "btnCloseBack", .kind = Kind::Label, .left = 1995, .top = 880, .width = 525, .height = 285, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW, .align = Align::Center},
    {.name = "btnDeleteBack", .kind = Kind::Label, .left = 960, .top = 880, .width = 525, .height = 285, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW, .align = Align::Center},
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 615, .height = 615, .borderColor = 0x808080, .borderWidth = 2},
    {.name = "lblMensagem", .kind = Kind::Label, .left = 360, .top = 230, .width = 2775, .height = 495, .text = "Tem certeza que deseja deletar esse(s) item(ns)?", .foreColor = 0x0BD1F4, .font = kSans825Bold, .align = Align::Center},
};

} // namespace

const Form Form6_DelLayout{"Form6_Del", 3495, 1395, "Quorvane - Aviso", controls, {}};
// clang-format on

} // namespace layout
