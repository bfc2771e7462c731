#pragma once

#include <string>

namespace corvano {

class Application;
class frmStart;

// Registers every command that acts on one browser window: its bars'
// buttons, its drop-downs, its keys, its page menu's and those only an
// outside caller runs. Each runs on the window whose number the call names.
void registerPageCommands(Application& app);

// Opens one more numbered browser window on the address (its last page when
// empty) and shows it; nullptr, without a message, at the limit.
frmStart* openBrowserWindow(Application& app, const std::string& firstAddress = {});

// The open browser window activated last (number = current browser number),
// or nullptr when it was closed or none has been activated.
frmStart* currentBrowserWindow(Application& app);

// Runs a browser window's command on the window activated last. True when the
// key names such a command, even if there is no window to act on.
bool runPageCommand(Application& app, const std::string& key);

}  // namespace corvano
