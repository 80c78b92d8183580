#include "layouts/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips. The pages are drawn between the
// count and the line of keys.
// clang-format off
constexpr Control controls[] = {
    {.name = "lblTeclas", .kind = Kind::Label, .left = 180, .top = 4170, .width = 3990, .height = 255, .text = "Enter mostra · Delete fecha · Esc sai", .foreColor = 0x7FC8C8, .align = Align::Center},
    {.name = "lblTotal", .kind = Kind::Label, .left = 180, .top = 405, .width = 3990, .height = 255, .foreColor = 0x7FC8C8, .align = Align::Center},
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 615, .height = 615, .borderColor = 0x808080, .borderWidth = 2},
    {.name = "lblMensagem", .kind = Kind::Label, .left = 180, .top = 150, .width = 3990, .height = 255, .text = "Quorvane - Páginas", .foreColor = 0x00FAFA, .font = kSans825Bold, .align = Align::Center},
};

} // namespace

const Form PagesFormLayout{"PagesForm", 4350, 4590, "Quorvane - Páginas", controls, {}};
// clang-format on

} // namespace layout
