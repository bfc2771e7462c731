#pragma once

#include <string>

#include "bars/Commands.h"

namespace corvano {

class Application;
class frmStart;

// The open browser window activated last (number = current browser number),
// or nullptr when it was closed or none has been activated.
frmStart* currentBrowserWindow(Application& app);

// The drop-down commands that act on the browser window activated last (the
// search, edit and save menus). True when the command is one of them, even
// if there is no window to act on; false for any other command.
bool runPageCommand(Application& app, Command command);
// The same by the entry's key; false for a key that names no page command.
bool runPageCommand(Application& app, const std::string& key);

}  // namespace corvano
