#include "forms/FormBuilder.h"

#include "core/Twips.h"
#include "forms/BrowserControl.h"
#include "forms/Controls.h"
#include "forms/ListBox.h"
#include "forms/Pictures.h"

#include <QCheckBox>
#include <QLineEdit>

#include <cmath>
#include <limits>
#include <ranges>

using namespace layout;

namespace {

QRect twipsRect(const Control& c)
{
    return QRect(twipsToPixels(c.left), twipsToPixels(c.top), twipsToPixels(c.width),
                 twipsToPixels(c.height));
}

Qt::Alignment alignment(Align a)
{
    switch (a) {
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

void applyColors(QWidget* w, const Control& c, QPalette::ColorRole fg, QPalette::ColorRole bg)
{
    QPalette pal = w->palette();
    if (c.foreColor != kNone)
        pal.setColor(fg, FormBuilder::color(c.foreColor));
    if (c.backColor != kNone) {
        pal.setColor(bg, FormBuilder::color(c.backColor));
        w->setAutoFillBackground(true);
    }
    w->setPalette(pal);
}

QWidget* makeLabel(QWidget* parent, const Control& c)
{
    auto* label = new LabelControl(parent);
    label->setText(QString::fromUtf8(c.text ? c.text : ""));
    label->setAlignment(alignment(c.align) | Qt::AlignTop);
    applyColors(label, c, QPalette::WindowText, QPalette::Window);
    return label;
}

QWidget* makeImage(QWidget* parent, const Control& c)
{
    auto* image = new ImageControl(parent);
    image->setStretch(c.stretch);
    if (c.picture)
        image->setPicture(
            Pictures::pixmap(QString::fromUtf8(c.picture), c.pictureWidth, c.pictureHeight));
    return image;
}

QWidget* makeShape(QWidget* parent, const Control& c)
{
    return new ShapeControl(parent, c.shape, FormBuilder::color(c.borderColor), c.borderWidth,
                            FormBuilder::color(c.fillColor));
}

QWidget* makeTextBox(QWidget* parent, const Control& c)
{
    auto* box = new QLineEdit(parent);
    // A box holds whatever the database holds: Qt's default limit would cut long addresses.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setFrame(!c.flat);
    applyColors(box, c, QPalette::Text, QPalette::Base);
    return box;
}

QWidget* makeListBox(QWidget* parent, const Control& c)
{
    auto* list = new ListBox(parent);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    if (c.flat)
        list->setFrameShape(QFrame::Box);
    applyColors(list, c, QPalette::Text, QPalette::Base);
    return list;
}

QWidget* makeCheckBox(QWidget* parent, const Control& c)
{
    auto* box = new QCheckBox(QString::fromUtf8(c.text ? c.text : ""), parent);
    // The style paints a check box's label with the button roles.
    applyColors(box, c, QPalette::WindowText, QPalette::Window);
    applyColors(box, c, QPalette::ButtonText, QPalette::Button);
    // The stand-in font is wider than the one the layouts were drawn with: a narrow gap after
    // the indicator keeps the caption inside the stored width.
    box->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
    return box;
}

QWidget* makeControl(QWidget* window, const Control& c)
{
    switch (c.kind) {
    case Kind::Label:
        return makeLabel(window, c);
    case Kind::Image:
        return makeImage(window, c);
    case Kind::Shape:
        return makeShape(window, c);
    case Kind::Line:
        return new LineControl(window, {twipsToPixels(c.left), twipsToPixels(c.top)},
                               {twipsToPixels(c.x2), twipsToPixels(c.y2)},
                               FormBuilder::color(c.borderColor));
    case Kind::TextBox:
        return makeTextBox(window, c);
    case Kind::ListBox:
        return makeListBox(window, c);
    case Kind::CheckBox:
        return makeCheckBox(window, c);
    case Kind::Browser:
        return BrowserControl::create(window);
    }
    return nullptr;
}

bool isChildWindow(Kind k)
{
    return k == Kind::ListBox || k == Kind::TextBox || k == Kind::CheckBox || k == Kind::Browser;
}

} // namespace

QColor FormBuilder::color(int rgb) { return rgb == kNone ? QColor() : QColor(QRgb(rgb)); }

QFont FormBuilder::font(const Font& f)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(int(std::lround(f.points * 96.0 / 72.0)));
    font.setWeight(f.bold ? QFont::Bold : QFont::Normal);
    return font;
}

void FormBuilder::build(QWidget* window, const Form& form)
{
    window->setObjectName(QString::fromUtf8(form.name));
    window->setWindowTitle(QString::fromUtf8(form.caption));
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window->setFixedSize(twipsToPixels(form.width), twipsToPixels(form.height));
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, color(COLOR_WINDOWTEXT));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
    window->setFont(font(kSans825));

    // Later siblings lie above earlier ones: create from the bottom row up. This also gives
    // the child windows their focus order.
    std::vector<QWidget*> childWindows;
    for (const Control& c : std::views::reverse(form.controls)) {
        QWidget* w = makeControl(window, c);
        w->setObjectName(QString::fromUtf8(c.name));
        if (c.kind != Kind::Line)
            w->setGeometry(twipsRect(c));
        w->setFont(font(c.font));
        if (c.toolTip)
            w->setToolTip(QString::fromUtf8(c.toolTip));
        if (c.customPointer)
            w->setCursor(Pictures::handCursor());
        if (isChildWindow(c.kind))
            childWindows.push_back(w);
    }
    for (QWidget* w : childWindows)
        w->raise();
}
