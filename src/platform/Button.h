#pragma once

#include <functional>
#include <string>

#include "platform/Control.h"

namespace corvano {

// A push button.
class Button : public Control {
public:
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;

    std::function<void()> onClick;
};

}  // namespace corvano
