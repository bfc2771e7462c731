#pragma once

#include <QColor>
#include <QMenu>
#include <QString>

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
    int radius;                    // corner radius of buttons and bar
    // Drop-down menus.
    QColor menuBack, menuColumnLeft, menuColumnRight, menuBorder, menuText;
    QColor menuSelTop, menuSelBottom, menuSelBorder, menuSelText;
    QColor menuSep;
};

// Unknown values fall back to the System look.
const BarLook& barLook(int style);

// The style sheet of a tool bar in the given look: its background, buttons,
// separators and the menu of its "»".
QString barStyleSheet(const BarLook& look);
// The style sheet of a drop-down menu in the given look.
QString menuStyleSheet(const BarLook& look);

// A drop-down menu that paints the look's icon column behind its items.
class BarMenu : public QMenu {
public:
    explicit BarMenu(QWidget* parent) : QMenu(parent) {}
    // The look also sets the style sheet.
    void setLook(const BarLook& look);
    const BarLook& look() const { return *look_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const BarLook* look_ = &barLook(0);
};

}  // namespace corvano::qt
