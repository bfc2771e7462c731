#pragma once

#include <QPointer>
#include <QToolBar>
#include <string>
#include <vector>

#include "platform/Container.h"
#include "platform/qt/QtControl.h"

class QMenu;
class QToolButton;

namespace corvano {
class Bar;
class CommandBars;
}  // namespace corvano

namespace corvano::qt {

// The process-wide entries and bars every command bar control shows. Set once
// before the first window is loaded; nullptr (the default) shows empty bars.
void setCommandBarModel(CommandBars* model);
CommandBars* commandBarModel();

// One bar of the shared collections as a tool bar: one action per entry,
// drop-downs as menus. Its own buttons report to its click handler;
// drop-down items report to the drop-down host.
class QtCommandBar : public QtControl<CommandBarControl, QToolBar> {
public:
    QtCommandBar(QWidget* parent, int index, BarClickHandler onClick);
    ~QtCommandBar() override;

    int index() const override { return index_; }
    void setBar(const std::string& key) override;
    std::string bar() const override { return bar_; }
    void setBarStyle(int style) override;
    int barStyle() const override { return style_; }
    void setImageList(const ImageList* images) override;
    void click(Entry& entry) override { deliver(entry); }

    // Hands a click to this control's handler with its own index.
    void deliver(Entry& entry);
    // The button of an entry on this bar, nullptr for none; hidden while it
    // waits behind the "»" of a bar too narrow for it.
    QToolButton* button(const std::string& key) const;
    // The entry of the button the keyboard is on; empty when none.
    std::string focusedKey() const;
    bool hasOverflow() const;

    // Keyboard travel, F10 and the arrows: the buttons shown, then the "»".
    std::vector<QToolButton*> keyboardStops() const;
    // Puts the keyboard on the first or last stop; Escape gives it back to `returnTo`.
    bool takeKeyboard(bool first, QWidget* returnTo);

private:
    friend class BarWidget;
    struct Item {
        std::string key;
        QAction* action;
        QMenu* menu;
    };

    void attach();
    void refresh();
    void rebuild(const Bar* bar);
    void fillMenu(QMenu& menu, const std::vector<Entry*>& entries, int depth);
    void showingMenu(QMenu& menu, const std::string& key);
    // After the event in hand: the handler may close this control's window.
    void deliverLater(const std::string& key, bool toHost);

    int index_;
    BarClickHandler onClick_;
    std::string bar_;
    int style_ = 0;
    const ImageList* images_ = nullptr;
    CommandBars* model_ = nullptr;
    int token_ = 0;
    std::vector<Item> items_;
    QPointer<QWidget> returnFocus_;
};

// Gives the keyboard to the first bar of the window (the lowest control
// index); false when the window shows none. Arrows go on from bar to bar.
bool focusFirstBar(QWidget* window);

}  // namespace corvano::qt
