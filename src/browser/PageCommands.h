#pragma once

#include <string>

namespace corvano {

class Application;

// The drop-down commands that act on the browser window activated last
// ("SEARCH:", "EDIT:", "SAVE:"). False when the key is not one of them.
bool runPageCommand(Application& app, const std::string& key);

}  // namespace corvano
