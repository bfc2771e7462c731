#include "platform/qt/QtBarStyle.h"

#include <QLinearGradient>
#include <QPainter>

#include <iterator>

namespace corvano::qt {

namespace {

// Each colour of a look, for the four styles in their numbering order.
struct ColourRow {
    QColor BarLook::*field;
    const char* colour[4];
};

const ColourRow kColours[] = {
    //                           System       Office     Money      XP
    {&BarLook::top,             {"#f5f5f5", "#e3efff", "#3f7550", "#fcfcf9"}},
    {&BarLook::bottom,          {"#ececec", "#9ebfef", "#1b3a25", "#e3dfcc"}},
    {&BarLook::edge,            {"#c9c9c9", "#3b619c", "#0c1f12", "#b5b19e"}},
    {&BarLook::highlight,       {"#ffffff", "#ffffff", "#6fa57d", "#ffffff"}},
    {&BarLook::text,            {"#1b1b1b", "#000000", "#f3f1e6", "#000000"}},
    {&BarLook::hoverTop,        {"#e5f1fb", "#fff8d9", "#ffe9a3", "#c1d2ee"}},
    {&BarLook::hoverBottom,     {"#e5f1fb", "#ffd77a", "#e9ad2c", "#c1d2ee"}},
    {&BarLook::hoverBorder,     {"#7eb4ea", "#000080", "#8a5d08", "#316ac5"}},
    {&BarLook::hoverText,       {"#1b1b1b", "#000000", "#1d1a10", "#000000"}},
    {&BarLook::pressTop,        {"#cce4f7", "#fe9a55", "#c98a14", "#98b5e2"}},
    {&BarLook::pressBottom,     {"#cce4f7", "#ffd698", "#f2c65a", "#98b5e2"}},
    {&BarLook::pressBorder,     {"#569de5", "#000080", "#6b4704", "#4b4b6f"}},
    {&BarLook::checkTop,        {"#d9ebf9", "#ffd59a", "#7fbf8c", "#e1e6f0"}},
    {&BarLook::checkBottom,     {"#d9ebf9", "#ffb84d", "#4d8f5b", "#e1e6f0"}},
    {&BarLook::checkBorder,     {"#7eb4ea", "#000080", "#c9e8cf", "#316ac5"}},
    {&BarLook::sepDark,         {"#c9c9c9", "#6a8ccb", "#0c1f12", "#a7a69c"}},
    // The System separator is a single line.
    {&BarLook::sepLight,        {"#00000000", "#ffffff", "#5f9570", "#ffffff"}},
    {&BarLook::menuBack,        {"#f9f9f9", "#f6f6f6", "#22442c", "#fcfcf9"}},
    {&BarLook::menuColumnLeft,  {"#f9f9f9", "#e3efff", "#17301f", "#fefefb"}},
    {&BarLook::menuColumnRight, {"#f9f9f9", "#87ade4", "#1d3b26", "#d8d2bd"}},
    {&BarLook::menuBorder,      {"#a0a0a0", "#002d96", "#0c1f12", "#8a867a"}},
    {&BarLook::menuText,        {"#1b1b1b", "#000000", "#f3f1e6", "#000000"}},
    {&BarLook::menuSelTop,      {"#cce8ff", "#fff3cf", "#ffe9a3", "#c1d2ee"}},
    {&BarLook::menuSelBottom,   {"#cce8ff", "#ffd68c", "#e9ad2c", "#c1d2ee"}},
    {&BarLook::menuSelBorder,   {"#99d1ff", "#000080", "#8a5d08", "#316ac5"}},
    {&BarLook::menuSelText,     {"#1b1b1b", "#000000", "#1d1a10", "#000000"}},
    {&BarLook::menuSep,         {"#d7d7d7", "#6a8ccb", "#4e7e5c", "#c5c2b2"}},
};
// Every colour of BarLook has its row: a missing one would paint as invalid black.
static_assert(std::size(kColours) == 27);

constexpr int kRadius[] = {0, 3, 5, 0};
// Width of the icon column a menu paints at its left.
constexpr int kMenuColumn = 26;

BarLook makeLook(int style) {
    BarLook l;
    for (const ColourRow& row : kColours) l.*row.field = QColor(row.colour[style]);
    l.radius = kRadius[style];
    return l;
}

QString css(const QColor& c) { return c.name(c.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb); }

QString gradient(const QColor& top, const QColor& bottom) {
    if (top == bottom) return css(top);
    return QString("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)").arg(css(top), css(bottom));
}

// A menu's rules over the given background; "transparent" where the menu paints it.
QString menuRules(const BarLook& look, const QString& background) {
    const int radius = look.radius > 0 ? 2 : 0;
    return QString(
               "QMenu { background: %12; border: 1px solid %1; padding: 2px 1px; color: %2; }"
               "QMenu::item { padding: 4px 28px 4px %3px; margin: 0px 2px; border: 1px solid transparent;"
               " background: transparent; color: %2; }"
               "QMenu::item:selected { background: %4; border: 1px solid %5; border-radius: %6px; color: %7; }"
               "QMenu::icon { padding-left: 5px; }"
               "QMenu::icon:checked { background: %8; border: 1px solid %9; border-radius: %6px; }"
               "QMenu::indicator { width: 14px; height: 14px; left: 6px; }"
               "QMenu::separator { height: 1px; background: %10; margin: 3px 4px 3px %11px; }"
               "QMenu::right-arrow { width: 8px; height: 8px; right: 8px; }")
        .arg(css(look.menuBorder), css(look.menuText))
        .arg(8)
        .arg(gradient(look.menuSelTop, look.menuSelBottom), css(look.menuSelBorder))
        .arg(radius)
        .arg(css(look.menuSelText), css(look.checkBottom), css(look.checkBorder), css(look.menuSep))
        .arg(kMenuColumn + 4)
        .arg(background);
}

}  // namespace

const BarLook& barLook(int style) {
    static const BarLook looks[] = {makeLook(0), makeLook(1), makeLook(2), makeLook(3)};
    return looks[style >= 0 && style <= 3 ? style : 0];
}

QString barStyleSheet(const BarLook& look) {
    // The rounded looks are a band with a frame; the square ones a light
    // line along the top and a dark one under the bar.
    const QString frame =
        look.radius > 0
            ? QString("border: 1px solid %1; border-radius: %2px;").arg(css(look.edge)).arg(look.radius + 1)
            : QString("border: 1px solid transparent; border-top-color: %1; border-bottom-color: %2;")
                  .arg(css(look.highlight), css(look.edge));
    return QString(
               "QToolBar { background: %1; %2 padding: 0px; spacing: 0px; }"
               "QToolBar::separator { width: 1px; margin: 4px 1px 4px 3px; background: %3;"
               " border-right: 1px solid %4; }"
               "QToolButton { border: 1px solid transparent; border-radius: %5px; padding: 0px;"
               " color: %6; background: transparent; }"
               "QToolButton:hover, QToolButton:focus { background: %7; border-color: %8; color: %9; }"
               "QToolButton:checked { background: %10; border-color: %11; }"
               "QToolButton:pressed { background: %12; border-color: %13; color: %9; }"
               // Room for the arrow of a drop-down; Qt leaves more than enough after a caption.
               "QToolButton[popupMode=\"2\"] { padding-right: 7px; }"
               "QToolButton[toolButtonStyle=\"2\"] { padding-right: -7px; }"
               "QToolButton[toolButtonStyle=\"2\"][popupMode=\"2\"] { padding-right: 1px; }"
               "QToolButton#qt_toolbar_ext_button { padding: 0px; }"
               "QToolButton::menu-indicator { subcontrol-origin: padding; subcontrol-position: center right;"
               " width: 7px; height: 7px; }")
               .arg(gradient(look.top, look.bottom), frame, css(look.sepDark), css(look.sepLight))
               .arg(look.radius)
               .arg(css(look.text), gradient(look.hoverTop, look.hoverBottom), css(look.hoverBorder),
                    css(look.hoverText), gradient(look.checkTop, look.checkBottom), css(look.checkBorder),
                    gradient(look.pressTop, look.pressBottom), css(look.pressBorder)) +
           menuRules(look, css(look.menuBack));
}

QString menuStyleSheet(const BarLook& look) { return menuRules(look, "transparent"); }

void BarMenu::setLook(const BarLook& look) {
    look_ = &look;
    setStyleSheet(menuStyleSheet(look));
}

void BarMenu::paintEvent(QPaintEvent* event) {
    {
        QPainter p(this);
        p.fillRect(rect(), look_->menuBack);
        const QRect column(1, 1, kMenuColumn, height() - 2);
        QLinearGradient g(column.topLeft(), column.topRight());
        g.setColorAt(0, look_->menuColumnLeft);
        g.setColorAt(1, look_->menuColumnRight);
        p.fillRect(column, g);
    }
    QMenu::paintEvent(event);
}

}  // namespace corvano::qt
