#pragma once

#include <optional>
#include <string>

namespace corvano {

// The client certificate chosen for a host in a profile, so a wall is not
// asked again after a restart. Kept in one small file of lines
// "profile<TAB>host<TAB>fingerprint"; lines that are not such are dropped.
std::optional<std::string> rememberedCertificate(const std::string& path, const std::string& profile,
                                                 const std::string& host);
// Written atomically; false (old file untouched) when it cannot be.
bool rememberCertificate(const std::string& path, const std::string& profile, const std::string& host,
                         const std::string& fingerprint);

}  // namespace corvano
