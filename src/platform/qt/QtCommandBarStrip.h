#pragma once

#include <QMenu>
#include <QRect>
#include <QWidget>
#include <string>
#include <vector>

namespace corvano {
class Entry;
class ImageList;
}  // namespace corvano

namespace corvano::qt {

class QtCommandBar;
struct BarLook;

// A drop-down menu that paints its own background and icon column.
class BarMenu : public QMenu {
public:
    BarMenu(const BarLook& look, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const BarLook& look_;
};

// The painted strip of one command bar control.
class BarStrip : public QWidget {
public:
    BarStrip(QWidget* parent, QtCommandBar& owner);

    // Recomputes the buttons from the model and repaints.
    void refresh();
    // Where the button of the entry stands; empty when it is not shown.
    QRect buttonRect(const std::string& key) const;
    // The keys of the buttons, separators included, as shown left to right.
    std::vector<std::string> shownKeys() const;
    bool hasOverflow() const { return overflowFrom_ >= 0; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Slot {
        std::string key;
        QRect rect;
        bool separator = false;
    };
    static constexpr int kOverflow = -2;

    void layoutSlots();
    int slotAt(const QPoint& pos) const;
    Entry* entryOf(int slot) const;
    void openDropDown(int slot);
    void openOverflow();
    // Fills a menu with the entries of a bar; submenus for nested drop-downs.
    void fillMenu(QMenu& menu, const std::vector<Entry*>& entries, const BarLook& look, int depth);
    QRect overflowRect() const;

    QtCommandBar& owner_;
    std::vector<Slot> slots_;
    int overflowFrom_ = -1;  // first slot that does not fit, -1 when all fit
    int hover_ = -1;
    int pressed_ = -1;
    int open_ = -1;  // slot whose drop-down is showing
};

}  // namespace corvano::qt
