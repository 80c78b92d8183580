#pragma once

#include <span>

// A window's stored arrangement: one row per control, topmost first, geometry in twips.
namespace layout {

enum class Kind { Label, Image, Shape, Line, ListBox, TextBox, CheckBox, Browser };
enum class Align { Left, Center, Right };
enum class ShapeKind { Rectangle, RoundedRectangle, Circle };

// Colours are 0xRRGGBB; kNone means "not stored" (transparent background, no fill).
constexpr int kNone = -1;
// System colours, fixed at their usual defaults so that a desktop theme cannot invert the skin.
constexpr int COLOR_WINDOW = 0xFFFFFF;
constexpr int COLOR_WINDOWTEXT = 0x000000;
constexpr int COLOR_BTNFACE = 0xF0F0F0;
constexpr int COLOR_BTNTEXT = 0x000000;
constexpr int COLOR_GRAYTEXT = 0x6D6D6D;
constexpr int COLOR_WINDOWFRAME = 0x646464;
constexpr int COLOR_CAPTIONTEXT = 0x000000;
// The skin's colours for what the windows paint themselves (the suggestion and decision lists,
// the load line): the cyan of its texts, a row's second line, the current row, a row's rule.
constexpr int kSkinCyan = 0x00FAFA;
constexpr int kSkinDetail = 0x7FC8C8;
constexpr int kSkinCurrentFill = 0x0B3B3B;
constexpr int kSkinRule = 0x262626;

struct Font {
    double points = 8.25;
    bool bold = false;
};
constexpr Font kSans825{8.25, false};
constexpr Font kSans825Bold{8.25, true};
constexpr Font kSans975{9.75, false};
constexpr Font kSans975Bold{9.75, true};
constexpr Font kSans12Bold{12, true};

struct Control {
    const char* name = "";
    Kind kind = Kind::Label;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    const char* text = nullptr;
    int foreColor = kNone;
    int backColor = kNone;
    Font font = kSans825;
    Align align = Align::Left;
    const char* toolTip = nullptr;
    // Picture: an SVG of ours, drawn at the given pixel size.
    const char* picture = nullptr;
    int pictureWidth = 0;
    int pictureHeight = 0;
    bool stretch = false;
    // Shapes and lines.
    ShapeKind shape = ShapeKind::Rectangle;
    int borderColor = kNone;
    int borderWidth = 1;
    int fillColor = kNone;
    int x2 = 0;
    int y2 = 0;
    bool customPointer = false;
    bool flat = false;
};

struct Timer {
    const char* name;
    bool enabled;
    int interval;
};

struct Form {
    const char* name;
    int width;
    int height;
    const char* caption;
    std::span<const Control> controls;
    std::span<const Timer> timers;
};

} // namespace layout
