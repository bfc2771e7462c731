#include "app/Form.h"

#include "app/Application.h"

namespace corvano {

Form::Form(Application& app, WindowRole role)
    : app_(app), role_(role), window_(app.platform.createWindow(role, *this)) {}

Form::~Form() = default;

void Form::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    window_->hide();
    app_.formUnloaded(*this);
}

}  // namespace corvano
