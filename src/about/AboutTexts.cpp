#include "about/AboutTexts.h"

#include "CorvanoVersion.h"

namespace corvano {

std::string versionText(const std::string& word) {
    return word + " " + std::to_string(version::kMajor) + "." + std::to_string(version::kMinor) + "." +
           std::to_string(version::kRevision);
}

std::string helpPageAddress(const std::string& language) {
    // Characters, not bytes: a language name may hold letters beyond ASCII.
    size_t end = 0;
    for (int chars = 0; end < language.size() && chars < 3; ++chars) {
        ++end;
        while (end < language.size() && (static_cast<unsigned char>(language[end]) & 0xC0) == 0x80) ++end;
    }
    return std::string(urls::kHelpPrefix) + language.substr(0, end) + ".html";
}

std::string siteName(const std::string& address) {
    size_t start = address.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    const size_t end = address.find('/', start);
    return address.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace corvano
