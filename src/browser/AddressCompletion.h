#pragma once

#include <string>
#include <vector>

namespace corvano {

// The history entries (oldest first, as the address box lists them) that
// contain the typed text, ignoring case: newest first, each address once.
std::vector<std::string> addressCompletions(const std::vector<std::string>& history, const std::string& typed,
                                            size_t limit = 12);

// What the box shows when the typing is completed inline: the typed text
// followed by the rest of the newest entry that begins with it, with or
// without its scheme and "www."; empty when none does.
std::string inlineCompletion(const std::vector<std::string>& history, const std::string& typed);

}  // namespace corvano
