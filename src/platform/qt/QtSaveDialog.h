#pragma once

#include <functional>
#include <optional>
#include <string>

namespace corvano::qt {

// The save dialog of the document export. The filter is "description|pattern";
// the proposed name is put in the user's documents folder. Returns at once;
// `answer` gets the name, or nothing on cancel.
void askSaveFileName(const std::string& title, const std::string& filter, const std::string& proposedName,
                     std::function<void(std::optional<std::string>)> answer);

}  // namespace corvano::qt
