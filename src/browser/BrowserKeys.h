#pragma once

#include "platform/Shortcuts.h"

namespace corvano {

class CommandBars;
class Platform;

// The command of the registry a browser window's shortcut runs on that window.
const char* keyCommandName(Shortcut which);

// Puts each shortcut's text beside the entries whose command it runs.
void labelShortcuts(CommandBars& bars, const Platform& platform);

}  // namespace corvano
