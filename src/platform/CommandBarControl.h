#pragma once

#include <string>

#include "platform/Control.h"

namespace corvano {

class Entry;
class ImageList;

// Draws one bar of the shared collections. Clicks go to the handler given
// when the control was created (see Container::createCommandBar).
class CommandBarControl : public Control {
public:
    virtual int index() const = 0;
    virtual void setBar(const std::string& barKey) = 0;
    virtual std::string bar() const = 0;
    virtual void setBarStyle(int style) = 0;
    virtual int barStyle() const = 0;
    // Sets both image-list properties; nullptr for none.
    virtual void setImageList(const ImageList* images) = 0;

    // Delivers the entry to this control's click handler, as a click on it would.
    virtual void click(Entry& entry) = 0;
};

}  // namespace corvano
