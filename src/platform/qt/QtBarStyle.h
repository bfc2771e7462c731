#pragma once

#include <QColor>
#include <QString>

class QPainter;
class QRect;

namespace corvano::qt {

// The four looks of the command bars: 0 System, 1 Office, 2 Money, 3 XP.
struct BarLook {
    QColor top, bottom;            // bar background, vertical gradient
    QColor edge;                   // line under the bar
    QColor highlight;              // line along the top
    QColor text;
    QColor hoverTop, hoverBottom, hoverBorder, hoverText;
    QColor pressTop, pressBottom, pressBorder;
    QColor checkTop, checkBottom, checkBorder;
    QColor sepDark, sepLight;
    QColor arrow;
    int radius;                    // corner radius of buttons and bar
    // Drop-down menus.
    QColor menuBack, menuColumnLeft, menuColumnRight, menuBorder, menuText;
    QColor menuSelTop, menuSelBottom, menuSelBorder, menuSelText;
    QColor menuSep;
};

enum class ButtonState { Normal, Hover, Pressed, Checked };

// Unknown values fall back to the System look.
const BarLook& barLook(int style);

void paintBarBackground(QPainter& p, const QRect& r, const BarLook& look);
void paintButtonFace(QPainter& p, const QRect& r, const BarLook& look, ButtonState state);
void paintSeparator(QPainter& p, const QRect& r, const BarLook& look);
void paintDropArrow(QPainter& p, const QRect& r, const QColor& colour);

// The style sheet of a drop-down menu in the given look.
QString menuStyleSheet(const BarLook& look);
// Width of the icon column a menu paints at its left.
constexpr int kMenuColumn = 26;

}  // namespace corvano::qt
