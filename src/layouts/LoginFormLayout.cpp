#include "layouts/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "btnCancel", .kind = Kind::Label, .left = 1860, .top = 1740, .width = 1035, .height = 210, .text = "CANCELAR", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE, .font = kSans825Bold, .align = Align::Center},
    {.name = "btnOK", .kind = Kind::Label, .left = 600, .top = 1740, .width = 1035, .height = 210, .text = "ENTRAR", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE, .font = kSans825Bold, .align = Align::Center},
    {.name = "btnCancelBack", .kind = Kind::Label, .left = 1845, .top = 1690, .width = 1065, .height = 285, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW},
    {.name = "btnOKBack", .kind = Kind::Label, .left = 585, .top = 1690, .width = 1065, .height = 285, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW},
    {.name = "txtSenha", .kind = Kind::TextBox, .left = 1140, .top = 1170, .width = 2115, .height = 300, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW, .flat = true},
    {.name = "txtUsuario", .kind = Kind::TextBox, .left = 1140, .top = 735, .width = 2115, .height = 300, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW, .flat = true},
    {.name = "lblSenha", .kind = Kind::Label, .left = 240, .top = 1200, .width = 900, .height = 255, .text = "Senha", .foreColor = COLOR_WINDOW},
    {.name = "lblUsuario", .kind = Kind::Label, .left = 240, .top = 765, .width = 900, .height = 255, .text = "Usuário", .foreColor = COLOR_WINDOW},
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 615, .height = 615, .borderColor = 0x808080, .borderWidth = 2},
    {.name = "lblMensagem", .kind = Kind::Label, .left = 240, .top = 150, .width = 3015, .height = 495, .foreColor = 0x00FAFA, .font = kSans825Bold, .align = Align::Center},
};

} // namespace

const Form LoginFormLayout{"LoginForm", 3495, 2280, "Quorvane - Autenticação", controls, {}};
// clang-format on

} // namespace layout
