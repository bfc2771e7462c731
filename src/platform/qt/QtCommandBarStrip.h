#pragma once

#include <QMenu>
#include <QPointer>
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

    // Keyboard use and accessibility.
    // Takes the keyboard onto the first button; Escape gives it back.
    void focusFirst();
    // The key of the button the keyboard is on, empty when none.
    std::string focusedKey() const;
    // Every button of the bar, separators left out, also those behind the chevron.
    std::vector<std::string> buttonKeys() const;
    Entry* entryFor(const std::string& key) const;
    bool isShown(const std::string& key) const { return !buttonRect(key).isEmpty(); }
    // What a click on the button does: its command, or its drop-down opened.
    // Run after the current event, as the caller may be an assistive tool
    // waiting for an answer.
    void pressLater(const std::string& key);
    // The tooltip as shown, with the shortcut that runs the same command.
    static QString toolTipText(const Entry& entry);
    // The name a screen reader says: the caption, else the tooltip.
    static QString accessibleName(const Entry& entry);
    const QtCommandBar& owner() const { return owner_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

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

    // Keyboard use and accessibility.
    void moveFocus(int step);
    // Past a bar's last button the keyboard goes on to the window's next bar
    // (past its first, to the previous one); false when the window has one bar.
    bool handOver(bool forward);
    void setFocusSlot(int slot);
    void press(int slot);
    int focus_ = -1;  // slot the keyboard is on, kOverflow for the chevron
    QPointer<QWidget> returnFocus_;
};

// Gives the keyboard to the first bar of the window (the lowest control
// index); false when the window shows none. Arrows go on from bar to bar.
bool focusFirstBar(QWidget* window);

}  // namespace corvano::qt
