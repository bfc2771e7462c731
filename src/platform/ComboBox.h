#pragma once

#include <functional>
#include <string>
#include <vector>

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

    // True while the box has the keyboard focus.
    virtual bool hasFocus() const = 0;

    // Return true to consume the character (it never reaches the box).
    // Enter arrives as character 13.
    std::function<bool(int charCode)> onKeyPress;
    // The user chose an entry of the list; the text is already the entry.
    std::function<void()> onClick;

    // Address completion.
    // Selects the whole text.
    virtual void selectAll() {}
    // Offers the items in a list below the box; a non-empty inline text
    // replaces the box's text with the typed part kept and the rest selected.
    virtual void offerCompletions(const std::vector<std::string>& items, const std::string& inlineText) {
        (void)items;
        (void)inlineText;
    }
    // The user changed the text by typing (not setText).
    std::function<void(const std::string& text)> onEdited;
};

}  // namespace corvano
