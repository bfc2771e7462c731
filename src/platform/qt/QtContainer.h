#pragma once

#include <QWidget>
#include <memory>

#include "platform/Container.h"

namespace corvano::qt {

// Creates the child controls of a window or panel.
struct QtChildFactory {
    static std::unique_ptr<Panel> panel(QWidget* parent);
    static std::unique_ptr<CommandBarControl> commandBar(QWidget* parent, int index, BarClickHandler onClick);
    static std::unique_ptr<ComboBox> comboBox(QWidget* parent);
    static std::unique_ptr<Label> label(QWidget* parent);
    static std::unique_ptr<WebView> webView(QWidget* parent, const WebProfile& profile);
    static std::unique_ptr<TextEditBox> textEditBox(QWidget* parent);
    static std::unique_ptr<Button> button(QWidget* parent);
    static std::unique_ptr<Picture> picture(QWidget* parent);
    static std::unique_ptr<MarkupBox> markupBox(QWidget* parent);
};

}  // namespace corvano::qt
