#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/AppState.h"
#include "app/CommandRegistry.h"
#include "app/Form.h"
#include "app/NumberedWindows.h"
#include "app/SaveFailures.h"
#include "platform/CommandBars.h"
#include "platform/Platform.h"

namespace corvano {

class frmStart;

// One per process: the state, the shared bar collections and the open windows.
class Application {
public:
    Application(Platform& platform, std::string appPath);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Platform& platform;
    AppState App;
    CommandBars bars;
    // Every command of the wall, and the open browser windows by number
    // (each window is there from the end of its load until it closes).
    CommandRegistry commands;
    NumberedWindows<frmStart> browsers;

    // Creates the form, puts it at the end of the list of open windows and
    // runs its load.
    template <class F, class... Args>
    F& load(Args&&... args) {
        auto form = std::make_unique<F>(*this, std::forward<Args>(args)...);
        F& ref = *form;
        owned_.push_back(std::move(form));
        open_.push_back(&ref);
        ref.Form_Load();
        return ref;
    }

    // Every loaded window, shown or hidden, in load order; the main window first.
    const std::vector<Form*>& openWindows() const { return open_; }

    // Called by Form::Unload. The form object lives until the current event
    // is over; the event loop ends when no window is left.
    void formUnloaded(Form& form);

    std::string file(const std::string& rel) const { return App.appPath + rel; }

    // A browser window's page, address, title or health changed, or the
    // window opened or closed: whoever reports the wall outside listens.
    std::function<void(int number)> onWindowChanged;
    void windowChanged(int number) const {
        if (onWindowChanged) onWindowChanged(number);
    }

    // Files that could not be saved, so the user hears of each once.
    SaveFailures saveFailures;

private:
    std::vector<std::unique_ptr<Form>> owned_;
    std::vector<Form*> open_;
    std::vector<std::unique_ptr<Form>> dying_;
};

}  // namespace corvano
