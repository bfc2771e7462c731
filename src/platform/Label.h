#pragma once

#include <string>

#include "platform/Control.h"

namespace corvano {

class Label : public Control {
public:
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

}  // namespace corvano
