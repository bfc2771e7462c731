#pragma once

#include "app/AppState.h"

namespace corvano {

// The global settings file "/Data/Corvano.Ini": browser count, language,
// bar style, one slot flag per browser number.
void Read_IniSetting(AppState& App);
// False when the file could not be written; the old file is then unchanged.
bool Save_IniSetting(const AppState& App);

// The file's path and the 23 lines it holds for this state, with the given
// browser count in place of the one in memory.
std::string iniSettingsPath(const AppState& App);
std::string iniSettingsText(const AppState& App, int16_t browserCount);

// A language name safe to put into a file name.
bool isSafeLanguageName(const std::string& name);

}  // namespace corvano
