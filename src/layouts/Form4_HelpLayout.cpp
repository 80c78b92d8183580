#include "layouts/Layouts.h"
#include "layouts/TitleArea.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "Label5", .kind = Kind::Label, .left = 360, .top = 1230, .width = 3875, .height = 555, .text = "Leia os ReadMes abaixo para entender melhor sobre o software.", .foreColor = 0x0BD1F4, .font = kSans825Bold},
    {.name = "btn1", .kind = Kind::Image, .left = 270, .top = 2145, .width = 675, .height = 675, .toolTip = " Clique para abrir ", .picture = "btnDoc1", .pictureWidth = 45, .pictureHeight = 45, .customPointer = true},
    {.name = "btn2", .kind = Kind::Image, .left = 270, .top = 3255, .width = 675, .height = 675, .toolTip = " Clique para abrir ", .picture = "btnDoc2", .pictureWidth = 45, .pictureHeight = 45, .customPointer = true},
    {.name = "btn3", .kind = Kind::Image, .left = 270, .top = 4335, .width = 675, .height = 675, .toolTip = " Clique para abrir ", .picture = "btnDoc3", .pictureWidth = 45, .pictureHeight = 45, .customPointer = true},
    {.name = "ReadMe1", .kind = Kind::Label, .left = 1110, .top = 2070, .width = 2940, .height = 375, .text = "ReadMe Informações e Considerações", .foreColor = 0x0BD1F4, .font = kSans825Bold},
    {.name = "Label2", .kind = Kind::Label, .left = 1080, .top = 2505, .width = 3195, .height = 615, .text = "Consulte este ReadMe para considerações gerais sobre meus softwares.", .foreColor = COLOR_WINDOW},
    {.name = "Label4", .kind = Kind::Label, .left = 1080, .top = 3510, .width = 3195, .height = 615, .text = "Consulte este ReadMe para informações sobre a licença de uso e atualização.", .foreColor = COLOR_WINDOW},
    {.name = "Label7", .kind = Kind::Label, .left = 1110, .top = 3270, .width = 3855, .height = 255, .text = "ReadMe Licença de Utilização", .foreColor = 0x0BD1F4, .font = kSans825Bold},
    {.name = "Label8", .kind = Kind::Label, .left = 1110, .top = 4590, .width = 3195, .height = 480, .text = "Consulte este ReadMe para ver as características do software e da versão.", .foreColor = COLOR_WINDOW},
    {.name = "Label9", .kind = Kind::Label, .left = 1110, .top = 4365, .width = 3855, .height = 255, .text = "ReadMe Características e Versão", .foreColor = 0x0BD1F4, .font = kSans825Bold},
    title::abaTopo,
    title::Shape7,
    {.name = "lblPosTop", .kind = Kind::Label, .left = 3120, .top = 9120, .width = 375, .height = 375, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblPosLeft", .kind = Kind::Label, .left = 3720, .top = 9120, .width = 375, .height = 375, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "Line4", .kind = Kind::Line, .left = 360, .top = 5640, .borderColor = COLOR_WINDOWFRAME, .x2 = 4230, .y2 = 5640},
    {.name = "Shape2", .kind = Kind::Shape, .left = 330, .top = 7800, .width = 3900, .height = 3735, .borderColor = 0x808080},
    {.name = "lblURL", .kind = Kind::Label, .left = 330, .top = 6240, .width = 3855, .height = 315, .text = "Cadastre suas URLs aqui.", .foreColor = COLOR_WINDOW, .font = kSans825Bold, .align = Align::Center, .toolTip = " Cadastrar URL ", .customPointer = true},
    {.name = "lblTitAbout", .kind = Kind::Label, .left = 330, .top = 720, .width = 2295, .height = 255, .text = "Ajuda", .foreColor = COLOR_WINDOW, .font = kSans825Bold},
    {.name = "Line1", .kind = Kind::Line, .left = 330, .top = 945, .borderColor = COLOR_GRAYTEXT, .x2 = 4230, .y2 = 945},
    title::lblNome3(160),
    title::Label1,
    title::imgMinimizar,
    title::imgFechar,
    title::imgTrayNoTip,
    title::lblName1(0x37C8FF),
    title::shpForm(1320, 1200),
    title::imgMinimizarOn,
    title::imgFecharOn,
    title::imgTrayOn,
};

constexpr Timer timers[] = {
    {"TimerHideMe", true, 0},
    {"TimerHideForm", false, 250},
    {"TimerShowForm", true, 0},
    {"TimerMouseOver", true, 0},
};
} // namespace

const Form Form4_HelpLayout{"Form4_Help", 4560, 7350, "Definir qual URL será a página inicial do Quorvane.", controls, timers};
// clang-format on

} // namespace layout
