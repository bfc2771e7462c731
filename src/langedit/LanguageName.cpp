#include "langedit/LanguageName.h"

#include <cstring>

namespace corvano {

NameCheck checkLanguageName(const std::string& name) {
    if (name.find_first_not_of(' ') == std::string::npos) return {NameFault::Empty};
    if (name.find_first_of("/\\") != std::string::npos) return {NameFault::Separator};
    if (name.find("..") != std::string::npos) return {NameFault::DotDot};
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return {NameFault::Control};
    }
    // Refused by Windows file systems: a file written here may travel there.
    for (char c : name)
        if (std::strchr("<>:\"|?*", c)) return {NameFault::Refused, c};
    return {};
}

}  // namespace corvano
