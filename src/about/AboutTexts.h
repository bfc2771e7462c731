#pragma once

#include <string>

namespace corvano {

// Where the About window links to. The mail address is used as "mailto:".
namespace urls {
inline constexpr const char* kPartnerSite = "https://www.corvano.com/";
inline constexpr const char* kMakerMail = "info@corvano.org";
inline constexpr const char* kHelpPrefix = "https://www.corvano.org/help/";
}  // namespace urls

// The word before the version, a blank, then major.minor.revision.
std::string versionText(const std::string& word);
// The help prefix, the first three characters of the language (the whole
// name when it is shorter), then ".html".
std::string helpPageAddress(const std::string& language);
// "www.example.org" of "https://www.example.org/path".
std::string siteName(const std::string& address);

}  // namespace corvano
