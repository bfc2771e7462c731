#pragma once

#include <string>

#include "platform/Control.h"

namespace corvano {

// An editable plain-text box for files: a fixed-width font, the line numbers
// in its margin, no wrapping, no formatting.
class TextEditBox : public Control {
public:
    virtual std::string text() const = 0;
    // Replaces the whole text; the cursor goes to the start.
    virtual void setText(const std::string& text) = 0;
};

}  // namespace corvano
