#include "app/ControlToken.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
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

// Written beside the target with no rights for others, then renamed over it.
bool writePrivate(const std::string& path, const std::string& text) {
    const std::string temp = path + ".new";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0600) == 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace

std::optional<std::string> controlToken(const std::string& keyPath, bool create) {
    if (auto data = textfile::readAll(keyPath, 4096)) {
        const std::string token = textfile::trimBlanks(textfile::splitLines(*data).empty()
                                                           ? std::string()
                                                           : textfile::splitLines(*data).front());
        if (plausibleToken(token)) {
            struct stat st {};
            if (::stat(keyPath.c_str(), &st) == 0 && (st.st_mode & 077) != 0 && ::chmod(keyPath.c_str(), 0600) != 0)
                return std::nullopt;
            return token;
        }
    }
    if (!create) return std::nullopt;
    const std::string token = freshToken();
    if (!writePrivate(keyPath, token + "\n")) return std::nullopt;
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
