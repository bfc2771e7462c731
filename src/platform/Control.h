#pragma once

#include "platform/Geometry.h"

namespace corvano {

// A child control placed in twips relative to its container.
class Control {
public:
    virtual ~Control() = default;

    virtual int left() const = 0;
    virtual int top() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual void setLeft(int twips) = 0;
    virtual void setTop(int twips) = 0;
    virtual void setWidth(int twips) = 0;
    virtual void setHeight(int twips) = 0;
    virtual bool visible() const = 0;
    virtual void setVisible(bool on) = 0;
    virtual void setFocus() = 0;
};

}  // namespace corvano
