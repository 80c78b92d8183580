#include "layouts/Layouts.h"
#include "layouts/TitleArea.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "CheckMinimize", .kind = Kind::CheckBox, .left = 670, .top = 6840, .width = 1575, .height = 255, .text = "Iniciar minimizado", .foreColor = COLOR_WINDOW, .backColor = COLOR_WINDOWTEXT, .toolTip = " Iniciar o software minimizado ", .flat = true},
    {.name = "txtURL", .kind = Kind::TextBox, .left = 330, .top = 4560, .width = 3590, .height = 300, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW, .flat = true},
    {.name = "txtTitulo1", .kind = Kind::TextBox, .left = 330, .top = 3945, .width = 3900, .height = 300, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW, .flat = true},
    {.name = "lstSites", .kind = Kind::ListBox, .left = 330, .top = 1445, .width = 3900, .height = 2190, .foreColor = COLOR_WINDOWTEXT, .backColor = COLOR_WINDOW, .font = kSans975, .toolTip = " Dois cliques ou \"enter\" para abrir página ", .flat = true},
    {.name = "lblDelay", .kind = Kind::Label, .left = 2400, .top = 9120, .width = 615, .height = 375, .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    title::abaTopo,
    title::Shape7,
    {.name = "btnMakeHome", .kind = Kind::Image, .left = 330, .top = 1145, .width = 285, .height = 240, .toolTip = " Fazer do item selecionado a nova página inicial ", .picture = "btnMakeHome", .pictureWidth = 19, .pictureHeight = 16},
    {.name = "btnDelete", .kind = Kind::Image, .left = 3915, .top = 4980, .width = 300, .height = 300, .toolTip = " Deletar item ", .picture = "btnDelete", .pictureWidth = 20, .pictureHeight = 20},
    {.name = "btnInsert", .kind = Kind::Image, .left = 3045, .top = 5000, .width = 270, .height = 270, .toolTip = " Inserir item ", .picture = "btnInsert", .pictureWidth = 18, .pictureHeight = 18},
    {.name = "btnUpdate", .kind = Kind::Image, .left = 3500, .top = 5000, .width = 255, .height = 270, .toolTip = " Atualizar item ", .picture = "btnUpdate", .pictureWidth = 17, .pictureHeight = 18},
    {.name = "lblPosition", .kind = Kind::Label, .left = 2820, .top = 6840, .width = 1215, .height = 255, .text = "Gravar posição", .foreColor = COLOR_WINDOW, .toolTip = " Gravar posição "},
    {.name = "btnOpenText", .kind = Kind::Image, .left = 3930, .top = 4560, .width = 300, .height = 300, .toolTip = " Abrir página/site externamente ", .picture = "btnOpenText", .pictureWidth = 20, .pictureHeight = 20},
    {.name = "btnPosition", .kind = Kind::Image, .left = 2505, .top = 6840, .width = 240, .height = 240, .toolTip = " Fravar posição ", .picture = "btnPosition", .pictureWidth = 16, .pictureHeight = 16},
    {.name = "lblTopoHome", .kind = Kind::Label, .left = 1725, .top = 5715, .width = 1095, .height = 195, .text = "Página inicial", .foreColor = 0x8CEEFF, .backColor = COLOR_WINDOWTEXT, .align = Align::Center},
    {.name = "Shape2", .kind = Kind::Shape, .left = 330, .top = 5820, .width = 3900, .height = 615, .borderColor = 0x0BD1F4},
    {.name = "lblURL", .kind = Kind::Label, .left = 330, .top = 4345, .width = 975, .height = 195, .text = "URL (site)", .foreColor = COLOR_WINDOW},
    {.name = "lblTitulo", .kind = Kind::Label, .left = 330, .top = 3730, .width = 975, .height = 195, .text = "Título", .foreColor = COLOR_WINDOW},
    {.name = "lblTotal", .kind = Kind::Label, .left = 1560, .top = 1200, .width = 2655, .height = 255, .foreColor = COLOR_WINDOW, .align = Align::Right},
    {.name = "lblTituloHome", .kind = Kind::Label, .left = 405, .top = 6045, .width = 3705, .height = 285, .text = "www.seusite.com.br", .foreColor = 0x0BD1F4, .backColor = COLOR_WINDOWTEXT, .font = kSans825Bold, .align = Align::Center},
    {.name = "Image1", .kind = Kind::Image, .left = 330, .top = 8160, .width = 3900, .height = 480, .picture = "listBackground", .pictureWidth = 500, .pictureHeight = 32, .stretch = true},
    {.name = "lblTitSites", .kind = Kind::Label, .left = 330, .top = 720, .width = 1455, .height = 255, .text = "Administração", .foreColor = COLOR_WINDOW, .font = kSans825Bold},
    {.name = "Line1", .kind = Kind::Line, .left = 330, .top = 945, .borderColor = COLOR_GRAYTEXT, .x2 = 4230, .y2 = 945},
    {.name = "lblPosLeft", .kind = Kind::Label, .left = 3840, .top = 9120, .width = 375, .height = 375, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblPosTop", .kind = Kind::Label, .left = 3240, .top = 9120, .width = 375, .height = 375, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    title::lblNome3(165),
    title::Label1,
    title::imgMinimizar,
    title::imgFechar,
    title::imgTrayNoTip,
    title::lblName1(0x37C8FF),
    title::shpForm(1695, 2175),
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

const Form Form2_ListaLayout{"Form2_Lista", 4560, 7350, "Maravel Quorvane", controls, timers};
// clang-format on

} // namespace layout
