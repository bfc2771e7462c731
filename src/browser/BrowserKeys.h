#pragma once

#include "bars/Commands.h"
#include "platform/Shortcuts.h"

namespace corvano {

class CommandBars;
class Platform;

// A shortcut that runs a bar entry's command: the index of the bar control
// whose handler the entry's click reaches (0 or 2 the window's own bars,
// 3 the main window's, 5 the drop-down host) and the command.
struct KeyCommand {
    Shortcut shortcut;
    int barIndex;
    Command command;
};

// The bar command a shortcut runs, or nullptr when it has none.
const KeyCommand* keyCommand(Shortcut which);

// Puts each shortcut's text beside the entries whose command it runs.
void labelShortcuts(CommandBars& bars, const Platform& platform);

}  // namespace corvano
