#include "layouts/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "btnNo", .kind = Kind::Label, .left = 2015, .top = 1230, .width = 495, .height = 210, .text = "NÃO", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE, .font = kSans825Bold, .align = Align::Center},
    {.name = "btnYes", .kind = Kind::Label, .left = 975, .top = 1230, .width = 495, .height = 210, .text = "SIM", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE, .font = kSans825Bold, .align = Align::Center},
    {.name = "btnNoBack", .kind = Kind::Label, .left = 1995, .top = 1180, .width = 525, .height = 285, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW},
    {.name = "btnYesBack", .kind = Kind::Label, .left = 960, .top = 1180, .width = 525, .height = 285, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW},
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 615, .height = 615, .borderColor = 0x808080, .borderWidth = 2},
    {.name = "lblMensagem", .kind = Kind::Label, .left = 240, .top = 150, .width = 3015, .height = 960, .foreColor = 0x00FAFA, .font = kSans825Bold, .align = Align::Center},
};

} // namespace

const Form QuestionFormLayout{"QuestionForm", 3495, 1695, "Quorvane - Aviso", controls, {}};
// clang-format on

} // namespace layout
