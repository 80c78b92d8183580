#include "layouts/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "btnBlock", .kind = Kind::Label, .left = 1860, .top = 1230, .width = 855, .height = 210, .text = "Bloquear", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE, .font = kSans825Bold, .align = Align::Center},
    {.name = "btnAllow", .kind = Kind::Label, .left = 780, .top = 1230, .width = 855, .height = 210, .text = "Permitir", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE, .font = kSans825Bold, .align = Align::Center},
    {.name = "btnBlockBack", .kind = Kind::Label, .left = 1845, .top = 1180, .width = 885, .height = 285, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW},
    {.name = "btnAllowBack", .kind = Kind::Label, .left = 765, .top = 1180, .width = 885, .height = 285, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW},
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 615, .height = 615, .borderColor = 0x808080, .borderWidth = 2},
    {.name = "lblMensagem", .kind = Kind::Label, .left = 240, .top = 150, .width = 3015, .height = 960, .foreColor = 0x00FAFA, .font = kSans825Bold, .align = Align::Center},
};

} // namespace

const Form PermissionFormLayout{"PermissionForm", 3495, 1695, "Quorvane - Permissão", controls, {}};
// clang-format on

} // namespace layout
