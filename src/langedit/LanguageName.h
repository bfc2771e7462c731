#pragma once

#include <string>

namespace corvano {

// What is wrong with a name typed for a new language, if anything.
enum class NameFault {
    None,
    Empty,      // nothing but blanks: nothing is written, no message
    Separator,  // "/" or "\": the file would land in another folder
    DotDot,     // ".." could reach out of the application folder
    Control,    // a line break or another control character
    Refused,    // a character file systems refuse in a name
};

struct NameCheck {
    NameFault fault = NameFault::None;
    char character = 0;  // the refused character
};

NameCheck checkLanguageName(const std::string& name);

// The file a language of that name is written to.
inline std::string languageFileName(const std::string& name) { return "Lang_" + name + ".Txt"; }

}  // namespace corvano
