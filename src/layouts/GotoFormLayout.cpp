#include "layouts/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips. The suggestions are drawn below the
// text box, in the rest of the window.
// clang-format off
constexpr Control controls[] = {
    {.name = "txtEndereco", .kind = Kind::TextBox, .left = 180, .top = 450, .width = 3990, .height = 300, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW, .flat = true},
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 615, .height = 615, .borderColor = 0x808080, .borderWidth = 2},
    {.name = "lblMensagem", .kind = Kind::Label, .left = 180, .top = 150, .width = 3990, .height = 255, .text = "Endereço ou pesquisa", .foreColor = 0x00FAFA, .font = kSans825Bold, .align = Align::Center},
};

} // namespace

const Form GotoFormLayout{"GotoForm", 4350, 4590, "Quorvane - Ir para", controls, {}};
// clang-format on

} // namespace layout
