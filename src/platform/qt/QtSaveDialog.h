#pragma once

#include <optional>
#include <string>

namespace corvano::qt {

// The save dialog of the document export. The filter is "description|pattern";
// the proposed name is put in the user's documents folder. Nothing on cancel.
std::optional<std::string> askSaveFileName(const std::string& title, const std::string& filter,
                                           const std::string& proposedName);

}  // namespace corvano::qt
