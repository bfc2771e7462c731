#pragma once

#include <QWidget>
#include <string>

#include "platform/Container.h"
#include "platform/qt/QtControl.h"

namespace corvano {
class CommandBars;
}

namespace corvano::qt {

// The process-wide entries and bars every command bar control shows. Set once
// before the first window is loaded; nullptr (the default) shows empty strips.
void setCommandBarModel(CommandBars* model);
CommandBars* commandBarModel();

class BarStrip;

// One bar of the shared collections as a strip of buttons. Its own buttons
// report to its click handler; drop-down items report to the drop-down host.
class QtCommandBar : public QtControl<CommandBarControl, QWidget> {
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

    const ImageList* imageList() const { return images_; }
    // Hands a click to this control's handler with its own index.
    void deliver(Entry& entry);
    // The strip, for tests: its buttons' rectangles in widget pixels.
    BarStrip* strip() const;

private:
    friend class BarStrip;
    void attach();

    int index_;
    BarClickHandler onClick_;
    std::string bar_;
    int style_ = 0;
    const ImageList* images_ = nullptr;
    CommandBars* model_ = nullptr;
    int token_ = 0;
};

}  // namespace corvano::qt
