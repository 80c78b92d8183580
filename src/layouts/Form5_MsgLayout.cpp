#include "layouts/Layouts.h"

namespace layout {
namespace {

// Rows in stacking order, topmost first; geometry in twips.
// clang-format off
constexpr Control controls[] = {
    {.name = "shpForm", .kind = Kind::Shape, .left = 15, .top = 15, .width = 615, .height = 615, .borderColor = 0x808080, .borderWidth = 2},
    {.name = "Label1", .kind = Kind::Label, .left = 705, .top = 960, .width = 1095, .height = 255, .text = "Fechando em", .foreColor = COLOR_WINDOW},
    {.name = "Label2", .kind = Kind::Label, .left = 1980, .top = 960, .width = 1095, .height = 255, .text = "segundos...", .foreColor = COLOR_WINDOW},
    {.name = "lblCount", .kind = Kind::Label, .left = 1755, .top = 890, .width = 195, .height = 255, .text = "3", .foreColor = COLOR_WINDOW, .font = kSans12Bold, .align = Align::Center},
    {.name = "lblMensagem", .kind = Kind::Label, .left = 360, .top = 230, .width = 2775, .height = 615, .foreColor = 0x0BD1F4, .font = kSans825Bold, .align = Align::Center},
};

constexpr Timer timers[] = {
    {"TimerCount", false, 1000},
};
} // namespace

const Form Form5_MsgLayout{"Form5_Msg", 3495, 1395, "Quorvane - Aviso", controls, timers};
// clang-format on

} // namespace layout
