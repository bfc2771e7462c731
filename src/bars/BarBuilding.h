#pragma once

#include <initializer_list>
#include <string>

namespace corvano {

class Bar;
class CommandBars;

// Appends the entries of these keys to the bar, in order. A key with no entry
// is left out rather than fatal: the main and browser bars share some entries.
void appendKeys(CommandBars& bars, Bar& bar, std::initializer_list<const char*> keys);
// Makes the entry `key` open `menu` as its drop-down, if that entry exists.
void attachMenu(CommandBars& bars, const std::string& key, Bar& menu);

}  // namespace corvano
