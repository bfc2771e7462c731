#pragma once

#include <string>

namespace corvano {

class Application;

// Puts a language file written while the application runs into the language
// menu, before "LANG:NEW", as the start-up would have. False when the menu
// has it already, is full, or the name gives no language.
bool addLanguageToMenu(Application& app, const std::string& fileName);

}  // namespace corvano
