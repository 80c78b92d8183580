#include "layouts/Layouts.h"
#include "layouts/TitleArea.h"

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
    title::abaTopo,
    title::Shape7,
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
    title::lblNome3(160),
    title::Label1,
    title::imgMinimizar,
    title::imgFechar,
    title::imgTray,
    title::lblName1(0x0BD1F4),
    title::shpForm(1695, 2175),
    title::imgMinimizarOn,
    title::imgFecharOn,
    title::imgTrayOn,
};

constexpr Timer timers[] = {
    {"TimerFormNothing", false, 250},
    {"TimerShowForm", true, 0},
    {"TimerWBSilent", true, 0},
    {"TimerMouseOver", true, 0},
};
} // namespace

const Form Form1_IniLayout{"Form1_Ini", 4560, 7350, "Maravel Quorvane", controls, timers};
// clang-format on

} // namespace layout
