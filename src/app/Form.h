#pragma once

#include <memory>
#include <utility>

#include "platform/Window.h"

namespace corvano {

class Application;
class Entry;

// A window of the application with its event handlers. Forms are created
// and destroyed only through Application::load and Form::Unload.
class Form : public WindowEvents {
public:
    Form(Application& app, WindowRole role);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Window& window() { return *window_; }
    const Window& window() const { return *window_; }
    WindowRole role() const { return role_; }
    bool unloaded() const { return unloaded_; }

    virtual void Form_Load() {}
    // The window is leaving: remove it from the list of open windows and
    // release it. Safe to call from inside the form's own handlers.
    void Unload();
    // Any request to close: the form decides (default: unload).
    void Form_QueryUnload() override { Unload(); }

    // The language changed: the window takes its own texts again (title...).
    virtual void Form_TextsChanged() {}
    // A click on an entry of one of the window's bars; also what a shortcut
    // of another window runs to reach this window's command.
    virtual void cmdBar_Click(int index, Entry& entry) {
        (void)index;
        (void)entry;
    }

    // A continuation that can run after the form has been unloaded (a
    // dialog's answer, the engine's): from then on it does nothing.
    template <class F>
    auto whileLoaded(F f) {
        return [this, alive = std::weak_ptr<const bool>(alive_), f = std::move(f)](auto&&... args) {
            if (!alive.expired() && !unloaded_) f(std::forward<decltype(args)>(args)...);
        };
    }

protected:
    Application& app_;

private:
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
    WindowRole role_;
    std::unique_ptr<Window> window_;
    bool unloaded_ = false;
};

}  // namespace corvano
