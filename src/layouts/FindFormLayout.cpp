#include "layouts/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "txtBusca", .kind = Kind::TextBox, .left = 1140, .top = 240, .width = 2115, .height = 300, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW, .flat = true},
    {.name = "lblBusca", .kind = Kind::Label, .left = 240, .top = 270, .width = 900, .height = 255, .text = "Localizar", .foreColor = COLOR_WINDOW},
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 615, .height = 615, .borderColor = 0x808080, .borderWidth = 2},
    {.name = "lblContagem", .kind = Kind::Label, .left = 240, .top = 660, .width = 3015, .height = 255, .foreColor = 0x00FAFA, .font = kSans825Bold, .align = Align::Center},
};

} // namespace

const Form FindFormLayout{"FindForm", 3495, 1080, "Quorvane - Localizar", controls, {}};
// clang-format on

} // namespace layout
