#pragma once

#include <functional>

namespace corvano {

class Timer {
public:
    virtual ~Timer() = default;
    virtual int interval() const = 0;
    virtual void setInterval(int ms) = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool on) = 0;

    std::function<void()> onTick;
};

}  // namespace corvano
