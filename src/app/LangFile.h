#pragma once

#include <string>

#include "app/AppState.h"

namespace corvano {

// The file of the current language: "/Lang_" + language + ".txt". When no
// file has exactly that name, one whose name differs only in letter case.
std::string languageFilePath(const AppState& App);

// Refills the string table and the two settings from the language file.
// When the file cannot be read, nothing changes and the result is false.
bool Read_CFG(AppState& App);

// The same from text already read (8-bit or UTF-8).
void Read_CFG_Text(AppState& App, const std::string& bytes);

}  // namespace corvano
