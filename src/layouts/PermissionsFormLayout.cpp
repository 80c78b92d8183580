#include "layouts/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips. The decisions are drawn between the
// title and the line of keys.
// clang-format off
constexpr Control controls[] = {
    {.name = "lblTeclas", .kind = Kind::Label, .left = 180, .top = 4170, .width = 3990, .height = 255, .text = "Delete esquece a escolhida · Esc fecha", .foreColor = 0x7FC8C8, .align = Align::Center},
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 615, .height = 615, .borderColor = 0x808080, .borderWidth = 2},
    {.name = "lblMensagem", .kind = Kind::Label, .left = 180, .top = 150, .width = 3990, .height = 255, .text = "Permissões dadas aos sites", .foreColor = 0x00FAFA, .font = kSans825Bold, .align = Align::Center},
};

} // namespace

const Form PermissionsFormLayout{"PermissionsForm", 4350, 4590, "Quorvane - Permissões", controls, {}};
// clang-format on

} // namespace layout
