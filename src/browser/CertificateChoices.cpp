#include "browser/CertificateChoices.h"

#include <map>
#include <utility>
#include <vector>

#include "app/TextFile.h"
#include "browser/Profiles.h"

namespace corvano {

namespace tf = textfile;

namespace {

constexpr size_t kMaxBytes = 256 * 1024;

using Choices = std::map<std::pair<std::string, std::string>, std::string>;

// A host as the engine names it ("host:port") and a hexadecimal fingerprint:
// nothing that could break a line or a field.
bool plain(const std::string& text, size_t max) {
    if (text.empty() || text.size() > max) return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return false;
    return true;
}

bool hex(const std::string& text) {
    if (text.size() != 64) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

Choices readChoices(const std::string& path) {
    Choices choices;
    const auto data = tf::readAll(path, kMaxBytes);
    if (!data) return choices;
    for (const std::string& line : tf::splitLines(*data)) {
        const size_t a = line.find('\t'), b = a == std::string::npos ? a : line.find('\t', a + 1);
        if (b == std::string::npos) continue;
        std::string profile = line.substr(0, a), host = line.substr(a + 1, b - a - 1), fp = line.substr(b + 1);
        if ((!profile.empty() && !validProfileName(profile)) || !plain(host, 300) || !hex(fp)) continue;
        choices[{std::move(profile), std::move(host)}] = std::move(fp);
    }
    return choices;
}

}  // namespace

std::optional<std::string> rememberedCertificate(const std::string& path, const std::string& profile,
                                                 const std::string& host) {
    const Choices choices = readChoices(path);
    auto it = choices.find({profile, host});
    if (it == choices.end()) return std::nullopt;
    return it->second;
}

bool rememberCertificate(const std::string& path, const std::string& profile, const std::string& host,
                         const std::string& fingerprint) {
    if ((!profile.empty() && !validProfileName(profile)) || !plain(host, 300) || !hex(fingerprint)) return false;
    Choices choices = readChoices(path);
    choices[{profile, host}] = fingerprint;
    std::vector<std::string> lines;
    for (const auto& [key, fp] : choices) lines.push_back(key.first + "\t" + key.second + "\t" + fp);
    return tf::writeAtomic(path, tf::joinCrlf(lines));
}

}  // namespace corvano
