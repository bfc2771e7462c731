#include "platform/qt/QtBarStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRect>

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
    // A transparent light line is not drawn: the System separator is a single line.
    {&BarLook::sepLight,        {"#00000000", "#ffffff", "#5f9570", "#ffffff"}},
    {&BarLook::arrow,           {"#404040", "#000000", "#f3f1e6", "#000000"}},
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
static_assert(std::size(kColours) == 28);

constexpr int kRadius[] = {0, 3, 5, 0};

BarLook makeLook(int style) {
    BarLook l;
    for (const ColourRow& row : kColours) l.*row.field = QColor(row.colour[style]);
    l.radius = kRadius[style];
    return l;
}

QLinearGradient vertical(const QRect& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QString css(const QColor& c) { return c.name(c.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb); }

}  // namespace

const BarLook& barLook(int style) {
    static const BarLook looks[] = {makeLook(0), makeLook(1), makeLook(2), makeLook(3)};
    return looks[style >= 0 && style <= 3 ? style : 0];
}

void paintBarBackground(QPainter& p, const QRect& r, const BarLook& look) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, look.radius > 0);
    p.setPen(Qt::NoPen);
    if (look.radius > 0) {
        // A rounded band, as a docked toolbar of that family looks.
        QPainterPath path;
        path.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), look.radius + 1, look.radius + 1);
        p.setBrush(vertical(r, look.top, look.bottom));
        p.setPen(QPen(look.edge, 1));
        p.drawPath(path);
        p.setPen(QPen(look.highlight, 1));
        p.drawLine(QPointF(r.left() + look.radius + 1, r.top() + 1.5), QPointF(r.right() - look.radius - 1, r.top() + 1.5));
    } else {
        p.fillRect(r, vertical(r, look.top, look.bottom));
        p.setPen(look.highlight);
        p.drawLine(r.topLeft(), r.topRight());
        p.setPen(look.edge);
        p.drawLine(r.bottomLeft(), r.bottomRight());
    }
    p.restore();
}

void paintButtonFace(QPainter& p, const QRect& r, const BarLook& look, ButtonState state) {
    if (state == ButtonState::Normal) return;
    QColor top = look.hoverTop, bottom = look.hoverBottom, border = look.hoverBorder;
    if (state == ButtonState::Pressed) {
        top = look.pressTop;
        bottom = look.pressBottom;
        border = look.pressBorder;
    } else if (state == ButtonState::Checked) {
        top = look.checkTop;
        bottom = look.checkBottom;
        border = look.checkBorder;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, look.radius > 0);
    p.setPen(QPen(border, 1));
    p.setBrush(vertical(r, top, bottom));
    const QRectF f = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    if (look.radius > 0)
        p.drawRoundedRect(f, look.radius, look.radius);
    else
        p.drawRect(f);
    p.restore();
}

void paintSeparator(QPainter& p, const QRect& r, const BarLook& look) {
    const int x = r.center().x();
    p.save();
    p.setPen(look.sepDark);
    p.drawLine(x, r.top() + 4, x, r.bottom() - 4);
    if (look.sepLight.alpha() > 0) {
        p.setPen(look.sepLight);
        p.drawLine(x + 1, r.top() + 5, x + 1, r.bottom() - 3);
    }
    p.restore();
}

void paintDropArrow(QPainter& p, const QRect& r, const QColor& colour) {
    const QPointF c = QRectF(r).center();
    QPainterPath path;
    path.moveTo(c.x() - 3, c.y() - 1.5);
    path.lineTo(c.x() + 3, c.y() - 1.5);
    path.lineTo(c.x(), c.y() + 1.5);
    path.closeSubpath();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
    p.restore();
}

QString menuStyleSheet(const BarLook& look) {
    const QString sel = look.menuSelTop == look.menuSelBottom
                            ? css(look.menuSelTop)
                            : QString("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
                                  .arg(css(look.menuSelTop), css(look.menuSelBottom));
    const int radius = look.radius > 0 ? 2 : 0;
    // The background and icon column are painted by the menu itself.
    return QString(
               "QMenu { background: transparent; border: 1px solid %1; padding: 2px 1px; color: %2; }"
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
        .arg(sel, css(look.menuSelBorder))
        .arg(radius)
        .arg(css(look.menuSelText), css(look.checkBottom), css(look.checkBorder), css(look.menuSep))
        .arg(kMenuColumn + 4);
}

}  // namespace corvano::qt
