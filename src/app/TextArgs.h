#pragma once

#include <initializer_list>
#include <string>

namespace corvano {

// A text of the string table with its markers %1, %2 ... replaced by the
// values, in one pass: a value holding a marker stays as it is. A marker
// without a value stays too, so a translation that lacks one loses nothing.
// An empty text gives the values joined by blanks.
std::string withArgs(const std::string& text, std::initializer_list<std::string> values);

}  // namespace corvano
