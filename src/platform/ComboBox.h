#pragma once

#include <functional>
#include <string>

#include "platform/Control.h"

namespace corvano {

// An editable combo box: a text line with a drop-down list.
class ComboBox : public Control {
public:
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void addItem(const std::string& item) = 0;
    virtual void clearItems() = 0;
    virtual int itemCount() const = 0;
    virtual std::string item(int index) const = 0;

    // Return true to consume the character (it never reaches the box).
    std::function<bool(int charCode)> onKeyPress;
    // The user chose an entry of the list; the text is already the entry.
    std::function<void()> onClick;
};

}  // namespace corvano
