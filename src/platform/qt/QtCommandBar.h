#pragma once

#include <QWidget>

#include "platform/Container.h"
#include "platform/qt/QtControl.h"

namespace corvano::qt {

class QtCommandBar : public QtControl<CommandBarControl, QWidget> {
public:
    QtCommandBar(QWidget* parent, int index, BarClickHandler onClick);
    int index() const override { return index_; }
    void setBar(const std::string& key) override { bar_ = key; }
    std::string bar() const override { return bar_; }
    void setBarStyle(int style) override { style_ = style; }
    int barStyle() const override { return style_; }
    void setImageList(const ImageList* images) override { images_ = images; }

private:
    int index_;
    BarClickHandler onClick_;
    std::string bar_;
    int style_ = 0;
    const ImageList* images_ = nullptr;
};

}  // namespace corvano::qt
