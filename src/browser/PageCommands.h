#pragma once

#include <string>

namespace corvano {

class Application;
class frmStart;

// The open browser window activated last (number = current browser number),
// or nullptr when it was closed or none has been activated.
frmStart* currentBrowserWindow(Application& app);

// The drop-down commands that act on the browser window activated last
// ("SEARCH:", "EDIT:", "SAVE:" keys). True when the key is one of them, even
// if there is no window to act on; false for any other key.
bool runPageCommand(Application& app, const std::string& key);

}  // namespace corvano
