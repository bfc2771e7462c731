#pragma once

#include <string>

#include "platform/Control.h"

namespace corvano {

// A read-only multi-line box that shows a page's markup: monospaced, with
// its tags, attributes, strings and comments coloured, searchable with its own
// find bar.
class MarkupBox : public Control {
public:
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // Opens the box's own find bar.
    virtual void showFindBar() = 0;
    // The next or previous match of its find bar's text; opens the bar when it has none.
    virtual void findAgain(bool backward) = 0;
};

}  // namespace corvano
