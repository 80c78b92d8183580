#include "dialogs/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "WebBrowser2", .kind = Kind::Browser, .left = 330, .top = 990, .width = 3900, .height = 5700},
    {.name = "WebBrowser1", .kind = Kind::Browser, .left = 330, .top = 7845, .width = 3855, .height = 1455},
    {.name = "iconSoftware", .kind = Kind::Image, .left = 3720, .top = 9840, .width = 480, .height = 480, .picture = "icon", .pictureWidth = 32, .pictureHeight = 32},
    {.name = "lblFormNothing", .kind = Kind::Label, .left = 360, .top = 10320, .width = 975, .height = 255, .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblNavigate", .kind = Kind::Label, .left = 3120, .top = 9480, .width = 1095, .height = 255, .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "abaTopo", .kind = Kind::Image, .left = 2090, .top = 60, .width = 420, .height = 420, .picture = "abaTopo", .pictureWidth = 28, .pictureHeight = 28},
    {.name = "Shape7", .kind = Kind::Shape, .left = 2000, .top = -900, .width = 615, .height = 1455, .shape = ShapeKind::RoundedRectangle, .fillColor = 0x555555},
    {.name = "btnHelp", .kind = Kind::Image, .left = 3190, .top = 6840, .width = 240, .height = 240, .toolTip = " Ajuda ", .picture = "btnHelp", .pictureWidth = 16, .pictureHeight = 16},
    {.name = "btnAbout", .kind = Kind::Image, .left = 3565, .top = 6840, .width = 240, .height = 240, .toolTip = " Sobre o Quorvane ", .picture = "btnAbout", .pictureWidth = 16, .pictureHeight = 16},
    {.name = "btnMeuSite", .kind = Kind::Image, .left = 3940, .top = 6840, .width = 240, .height = 240, .toolTip = " Conheça o meu site e o meu trabalho ", .picture = "btnMeuSite", .pictureWidth = 16, .pictureHeight = 16},
    {.name = "lblNumChecked", .kind = Kind::Label, .left = 2760, .top = 9480, .width = 255, .height = 255, .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblTituloHome", .kind = Kind::Label, .left = 1560, .top = 9480, .width = 1095, .height = 255, .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblHomeURL", .kind = Kind::Label, .left = 360, .top = 9480, .width = 1095, .height = 255, .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "btnAdm", .kind = Kind::Image, .left = 2815, .top = 6840, .width = 240, .height = 240, .toolTip = " Administração ", .picture = "btnAdm", .pictureWidth = 16, .pictureHeight = 16},
    {.name = "lblPosLeft", .kind = Kind::Label, .left = 840, .top = 9840, .width = 375, .height = 375, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblPosTop", .kind = Kind::Label, .left = 360, .top = 9840, .width = 375, .height = 375, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "btnForward", .kind = Kind::Image, .left = 945, .top = 675, .width = 240, .height = 240, .toolTip = " Avançar ", .picture = "btnForward", .pictureWidth = 16, .pictureHeight = 16},
    {.name = "btnBack", .kind = Kind::Image, .left = 700, .top = 675, .width = 240, .height = 240, .toolTip = " Retornar ", .picture = "btnBack", .pictureWidth = 16, .pictureHeight = 16},
    {.name = "btnHome", .kind = Kind::Image, .left = 330, .top = 660, .width = 285, .height = 240, .toolTip = " Início ", .picture = "btnHome", .pictureWidth = 19, .pictureHeight = 16},
    {.name = "lblNome3", .kind = Kind::Label, .left = 330, .top = 30, .width = 975, .height = 160, .text = "Maravel", .foreColor = 0x008080},
    {.name = "Label1", .kind = Kind::Label, .left = 900, .top = 190, .width = 500, .height = 255, .text = "vane", .foreColor = 0x00FAFA, .font = kSans975Bold},
    {.name = "imgMinimizar", .kind = Kind::Image, .left = 3120, .top = 145, .width = 330, .height = 330, .toolTip = "  Minimizar  ", .picture = "imgMinimizar", .pictureWidth = 22, .pictureHeight = 22},
    {.name = "imgFechar", .kind = Kind::Image, .left = 3900, .top = 145, .width = 330, .height = 330, .toolTip = "  Fechar  ", .picture = "imgFechar", .pictureWidth = 22, .pictureHeight = 22},
    {.name = "imgTray", .kind = Kind::Image, .left = 3510, .top = 145, .width = 330, .height = 330, .toolTip = "  Minimizar para o Tray  ", .picture = "imgTray", .pictureWidth = 22, .pictureHeight = 22},
    {.name = "lblName1", .kind = Kind::Label, .left = 330, .top = 190, .width = 615, .height = 255, .text = "Quor", .foreColor = 0x0BD1F4, .font = kSans975Bold},
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 1695, .height = 2175, .borderColor = 0x555555, .borderWidth = 2},
    {.name = "imgMinimizarOn", .kind = Kind::Image, .left = 3120, .top = 145, .width = 330, .height = 330, .toolTip = "  Minimizar  ", .picture = "imgMinimizarOn", .pictureWidth = 22, .pictureHeight = 22},
    {.name = "imgFecharOn", .kind = Kind::Image, .left = 3900, .top = 145, .width = 330, .height = 330, .toolTip = "  Fechar  ", .picture = "imgFecharOn", .pictureWidth = 22, .pictureHeight = 22},
    {.name = "imgTrayOn", .kind = Kind::Image, .left = 3510, .top = 145, .width = 330, .height = 330, .toolTip = "  Minimizar para o Tray  ", .picture = "imgTrayOn", .pictureWidth = 22, .pictureHeight = 22},
};
// clang-format on

constexpr Timer timers[] = {
    {"TimerFormNothing", false, 250},
    {"TimerShowForm", true, 0},
    {"TimerWBSilent", true, 0},
    {"TimerMouseOver", true, 0},
};
} // namespace

const Form Form1_IniLayout{"Form1_Ini", 4560, 7350, "Maravel Quorvane", controls, timers};

} // namespace layout
