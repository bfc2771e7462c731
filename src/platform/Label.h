#pragma once

#include <functional>
#include <string>

#include "platform/Control.h"

namespace corvano {

class Label : public Control {
public:
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;

    // A label that is a link: it looks like one and reports clicks.
    virtual void setLink(bool on) = 0;
    std::function<void()> onClick;
};

}  // namespace corvano
