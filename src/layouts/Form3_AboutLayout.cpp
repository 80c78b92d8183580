#include "layouts/Layouts.h"
#include "layouts/TitleArea.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "Shape4", .kind = Kind::Shape, .left = 1960, .top = 2475, .width = 105, .height = 105, .shape = ShapeKind::Circle, .borderColor = COLOR_WINDOWTEXT, .fillColor = 0xFFFFFF},
    {.name = "Shape1", .kind = Kind::Shape, .left = 1960, .top = 2250, .width = 105, .height = 105, .shape = ShapeKind::Circle, .borderColor = COLOR_WINDOWTEXT, .fillColor = 0xFFFFFF},
    {.name = "Label6", .kind = Kind::Label, .left = 2130, .top = 2415, .width = 2175, .height = 315, .text = "Revisado em: agosto / 2024", .foreColor = COLOR_WINDOW},
    {.name = "Label17", .kind = Kind::Label, .left = 720, .top = 3600, .width = 3135, .height = 1095, .text = "", .foreColor = COLOR_WINDOW, .font = kSans975, .align = Align::Center},
    {.name = "lblCOM", .kind = Kind::Label, .left = 3060, .top = 5970, .width = 420, .height = 285, .text = ".com", .foreColor = 0x0BD1F4, .backColor = COLOR_WINDOWTEXT, .font = kSans825Bold, .align = Align::Center, .toolTip = " Acesse meu site e conheça meu trabalho ", .customPointer = true},
    {.name = "btnMeuSite", .kind = Kind::Image, .left = 1530, .top = 5760, .width = 1500, .height = 405, .toolTip = " Clique aqui e conheça meu trabalho ", .picture = "btnMeuSiteAbout", .pictureWidth = 100, .pictureHeight = 27},
    title::abaTopo,
    {.name = "Shape3", .kind = Kind::Shape, .left = 1960, .top = 2020, .width = 105, .height = 105, .shape = ShapeKind::Circle, .borderColor = COLOR_WINDOWTEXT, .fillColor = 0xFFFFFF},
    {.name = "Label12", .kind = Kind::Label, .left = 2130, .top = 2190, .width = 2175, .height = 315, .text = "Criado em: maio / 2023", .foreColor = COLOR_WINDOW},
    {.name = "lblPosTop", .kind = Kind::Label, .left = 3120, .top = 9120, .width = 375, .height = 375, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "lblPosLeft", .kind = Kind::Label, .left = 3720, .top = 9120, .width = 375, .height = 375, .text = "0", .foreColor = COLOR_BTNTEXT, .backColor = COLOR_BTNFACE},
    {.name = "Line4", .kind = Kind::Line, .left = 360, .top = 5190, .borderColor = COLOR_WINDOWFRAME, .x2 = 4230, .y2 = 5190},
    {.name = "Line3", .kind = Kind::Line, .left = 330, .top = 3000, .borderColor = COLOR_WINDOWFRAME, .x2 = 4200, .y2 = 3000},
    {.name = "Label4", .kind = Kind::Label, .left = 240, .top = 6360, .width = 4020, .height = 315, .text = "Clique no link acima e conheça mais do meu trabalho.", .foreColor = 0x0BD1F4, .align = Align::Center},
    {.name = "Label5", .kind = Kind::Label, .left = 1960, .top = 1620, .width = 2055, .height = 315, .text = "Equipe Maravel Quorvane", .foreColor = 0x0BD1F4, .font = kSans825Bold},
    {.name = "Label3", .kind = Kind::Label, .left = 2130, .top = 1965, .width = 855, .height = 195, .text = "Versão 1 .0", .foreColor = COLOR_WINDOW},
    {.name = "Line2", .kind = Kind::Line, .left = 1650, .top = 1350, .borderColor = COLOR_WINDOWFRAME, .x2 = 1650, .y2 = 2760},
    {.name = "Label2", .kind = Kind::Label, .left = 1960, .top = 1360, .width = 2055, .height = 315, .text = "Software desenvolvido por", .foreColor = 0x0BD1F4},
    {.name = "Image1", .kind = Kind::Image, .left = 480, .top = 1590, .width = 825, .height = 825, .picture = "aboutLogo", .pictureWidth = 55, .pictureHeight = 55},
    {.name = "Shape2", .kind = Kind::Shape, .left = 330, .top = 7800, .width = 3900, .height = 3735, .borderColor = 0x808080},
    {.name = "lblWWW", .kind = Kind::Label, .left = 1080, .top = 5970, .width = 420, .height = 285, .text = "www.", .foreColor = 0x0BD1F4, .backColor = COLOR_WINDOWTEXT, .font = kSans825Bold, .align = Align::Center, .toolTip = " Acesse meu site e conheça meu trabalho ", .customPointer = true},
    {.name = "lblTitAbout", .kind = Kind::Label, .left = 330, .top = 720, .width = 2295, .height = 255, .text = "Sobre o Quorvane", .foreColor = COLOR_WINDOW, .font = kSans825Bold},
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
    title::Shape7,
};

constexpr Timer timers[] = {
    {"TimerHideMe", true, 0},
    {"TimerHideForm", false, 250},
    {"TimerShowForm", true, 0},
    {"TimerMouseOver", true, 0},
};
} // namespace

const Form Form3_AboutLayout{"Form3_About", 4560, 7350, "Maravel Quorvane", controls, timers};
// clang-format on

} // namespace layout
