#pragma once

namespace corvano {

class Application;

// Registers the wall's own commands: the main window's bars, its drop-downs
// and what only an outside caller runs. Each finds the main window when it
// runs.
void registerWallCommands(Application& app);

}  // namespace corvano
