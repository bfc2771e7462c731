#include "app/ControlToken.h"

#include <sys/stat.h>

#include <random>

#include "app/TextFile.h"

namespace corvano {

namespace {

bool plausibleToken(const std::string& t) {
    if (t.size() < 32 || t.size() > 256) return false;
    for (char c : t)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

std::string freshToken() {
    std::random_device random;  // the kernel's random source on Linux
    static const char digits[] = "0123456789abcdef";
    std::string t;
    for (int i = 0; i < 8; ++i) {
        unsigned v = random();
        for (int j = 0; j < 8; ++j, v >>= 4) t += digits[v & 15];
    }
    return t;
}

}  // namespace

std::optional<std::string> controlToken(const std::string& keyPath, bool create) {
    if (auto data = textfile::readAll(keyPath, 4096)) {
        const auto lines = textfile::splitLines(*data);
        const std::string token = lines.empty() ? std::string() : textfile::trimBlanks(lines.front());
        if (plausibleToken(token)) {
            struct stat st {};
            if (::stat(keyPath.c_str(), &st) == 0 && (st.st_mode & 077) != 0 && ::chmod(keyPath.c_str(), 0600) != 0)
                return std::nullopt;
            return token;
        }
    }
    if (!create) return std::nullopt;
    const std::string token = freshToken();
    if (!textfile::writeAtomic(keyPath, token + "\n", true, 0600)) return std::nullopt;
    return token;
}

bool tokenMatches(std::string_view authorization, std::string_view token) {
    constexpr std::string_view kBearer = "Bearer ";
    if (token.empty() || authorization.substr(0, kBearer.size()) != kBearer) return false;
    const std::string_view given = authorization.substr(kBearer.size());
    // Every byte of the token is compared, whatever the given text's length.
    unsigned diff = given.size() != token.size() ? 1u : 0u;
    for (size_t i = 0; i < token.size(); ++i) {
        const char g = i < given.size() ? given[i] : '\0';
        diff |= static_cast<unsigned>(static_cast<unsigned char>(g ^ token[i]));
    }
    return diff == 0;
}

}  // namespace corvano
