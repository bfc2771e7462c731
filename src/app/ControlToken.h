#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvano {

// The control interface's secret, kept in a file only the user can read.
// Reads the token there, or makes one (64 hex digits from the system's
// random source) and writes it; a file that others may read is made private
// first. Nothing when no token can be read or written.
std::optional<std::string> controlToken(const std::string& keyPath, bool create);

// Whether an Authorization header carries the token, in a time that does not
// depend on where the two first differ.
bool tokenMatches(std::string_view authorization, std::string_view token);

}  // namespace corvano
