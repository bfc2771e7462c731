#pragma once

#include <functional>
#include <memory>

#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/CommandBarControl.h"
#include "platform/Label.h"
#include "platform/TextEditBox.h"
#include "platform/Picture.h"
#include "platform/MarkupBox.h"
#include "platform/WebView.h"

namespace corvano {

class Entry;
class Panel;

using BarClickHandler = std::function<void(int index, Entry& entry)>;

// Something that holds child controls: a window's client area or a panel.
class Container {
public:
    virtual ~Container() = default;
    virtual std::unique_ptr<Panel> createPanel() = 0;
    virtual std::unique_ptr<CommandBarControl> createCommandBar(int index, BarClickHandler onClick) = 0;
    virtual std::unique_ptr<ComboBox> createComboBox() = 0;
    virtual std::unique_ptr<Label> createLabel() = 0;
    virtual std::unique_ptr<WebView> createWebView(const WebProfile& profile) = 0;

    // The language editor's text box.
    virtual std::unique_ptr<TextEditBox> createTextEditBox() = 0;
    // Controls of the About window.
    virtual std::unique_ptr<Button> createButton() = 0;
    virtual std::unique_ptr<Picture> createPicture() = 0;
    // The page's source view.
    virtual std::unique_ptr<MarkupBox> createMarkupBox() = 0;
};

class Panel : public Control, public Container {};

}  // namespace corvano
