#pragma once

#include <string>

#include "platform/Control.h"

namespace corvano {

// A picture stretched over the control, from our own resources ("res:NAME").
class Picture : public Control {
public:
    virtual std::string source() const = 0;
    virtual void setSource(const std::string& source) = 0;
};

}  // namespace corvano
