#include "platform/qt/QtBarStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRect>

namespace corvano::qt {

namespace {

BarLook systemLook() {
    BarLook l;
    l.top = QColor("#f5f5f5");
    l.bottom = QColor("#ececec");
    l.edge = QColor("#c9c9c9");
    l.highlight = QColor("#ffffff");
    l.text = QColor("#1b1b1b");
    l.hoverTop = l.hoverBottom = QColor("#e5f1fb");
    l.hoverBorder = QColor("#7eb4ea");
    l.hoverText = l.text;
    l.pressTop = l.pressBottom = QColor("#cce4f7");
    l.pressBorder = QColor("#569de5");
    l.checkTop = l.checkBottom = QColor("#d9ebf9");
    l.checkBorder = QColor("#7eb4ea");
    l.sepDark = QColor("#c9c9c9");
    l.sepLight = QColor(0, 0, 0, 0);
    l.arrow = QColor("#404040");
    l.radius = 0;
    l.menuBack = QColor("#f9f9f9");
    l.menuColumnLeft = l.menuColumnRight = QColor("#f9f9f9");
    l.menuBorder = QColor("#a0a0a0");
    l.menuText = QColor("#1b1b1b");
    l.menuSelTop = l.menuSelBottom = QColor("#cce8ff");
    l.menuSelBorder = QColor("#99d1ff");
    l.menuSelText = l.menuText;
    l.menuSep = QColor("#d7d7d7");
    return l;
}

BarLook officeLook() {
    BarLook l;
    l.top = QColor("#e3efff");
    l.bottom = QColor("#9ebfef");
    l.edge = QColor("#3b619c");
    l.highlight = QColor("#ffffff");
    l.text = QColor("#000000");
    l.hoverTop = QColor("#fff8d9");
    l.hoverBottom = QColor("#ffd77a");
    l.hoverBorder = QColor("#000080");
    l.hoverText = l.text;
    l.pressTop = QColor("#fe9a55");
    l.pressBottom = QColor("#ffd698");
    l.pressBorder = QColor("#000080");
    l.checkTop = QColor("#ffd59a");
    l.checkBottom = QColor("#ffb84d");
    l.checkBorder = QColor("#000080");
    l.sepDark = QColor("#6a8ccb");
    l.sepLight = QColor("#ffffff");
    l.arrow = QColor("#000000");
    l.radius = 3;
    l.menuBack = QColor("#f6f6f6");
    l.menuColumnLeft = QColor("#e3efff");
    l.menuColumnRight = QColor("#87ade4");
    l.menuBorder = QColor("#002d96");
    l.menuText = QColor("#000000");
    l.menuSelTop = QColor("#fff3cf");
    l.menuSelBottom = QColor("#ffd68c");
    l.menuSelBorder = QColor("#000080");
    l.menuSelText = l.menuText;
    l.menuSep = QColor("#6a8ccb");
    return l;
}

BarLook moneyLook() {
    BarLook l;
    l.top = QColor("#3f7550");
    l.bottom = QColor("#1b3a25");
    l.edge = QColor("#0c1f12");
    l.highlight = QColor("#6fa57d");
    l.text = QColor("#f3f1e6");
    l.hoverTop = QColor("#ffe9a3");
    l.hoverBottom = QColor("#e9ad2c");
    l.hoverBorder = QColor("#8a5d08");
    l.hoverText = QColor("#1d1a10");
    l.pressTop = QColor("#c98a14");
    l.pressBottom = QColor("#f2c65a");
    l.pressBorder = QColor("#6b4704");
    l.checkTop = QColor("#7fbf8c");
    l.checkBottom = QColor("#4d8f5b");
    l.checkBorder = QColor("#c9e8cf");
    l.sepDark = QColor("#0c1f12");
    l.sepLight = QColor("#5f9570");
    l.arrow = QColor("#f3f1e6");
    l.radius = 5;
    l.menuBack = QColor("#22442c");
    l.menuColumnLeft = QColor("#17301f");
    l.menuColumnRight = QColor("#1d3b26");
    l.menuBorder = QColor("#0c1f12");
    l.menuText = QColor("#f3f1e6");
    l.menuSelTop = QColor("#ffe9a3");
    l.menuSelBottom = QColor("#e9ad2c");
    l.menuSelBorder = QColor("#8a5d08");
    l.menuSelText = QColor("#1d1a10");
    l.menuSep = QColor("#4e7e5c");
    return l;
}

BarLook xpLook() {
    BarLook l;
    l.top = QColor("#fcfcf9");
    l.bottom = QColor("#e3dfcc");
    l.edge = QColor("#b5b19e");
    l.highlight = QColor("#ffffff");
    l.text = QColor("#000000");
    l.hoverTop = l.hoverBottom = QColor("#c1d2ee");
    l.hoverBorder = QColor("#316ac5");
    l.hoverText = l.text;
    l.pressTop = l.pressBottom = QColor("#98b5e2");
    l.pressBorder = QColor("#4b4b6f");
    l.checkTop = l.checkBottom = QColor("#e1e6f0");
    l.checkBorder = QColor("#316ac5");
    l.sepDark = QColor("#a7a69c");
    l.sepLight = QColor("#ffffff");
    l.arrow = QColor("#000000");
    l.radius = 0;
    l.menuBack = QColor("#fcfcf9");
    l.menuColumnLeft = QColor("#fefefb");
    l.menuColumnRight = QColor("#d8d2bd");
    l.menuBorder = QColor("#8a867a");
    l.menuText = QColor("#000000");
    l.menuSelTop = l.menuSelBottom = QColor("#c1d2ee");
    l.menuSelBorder = QColor("#316ac5");
    l.menuSelText = l.menuText;
    l.menuSep = QColor("#c5c2b2");
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
    static const BarLook looks[] = {systemLook(), officeLook(), moneyLook(), xpLook()};
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
