#include "browser/frmStart.h"

#include "app/Application.h"

namespace corvano {

frmStart::frmStart(Application& app) : Form(app, WindowRole::Browser) {}

void frmStart::Form_Load() {}

void frmStart::GO_Exit() { Unload(); }

}  // namespace corvano
