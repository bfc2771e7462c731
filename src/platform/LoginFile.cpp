#include "platform/LoginFile.h"

#include <vector>

namespace corvano {

namespace {

constexpr size_t kMaxBytes = 1024 * 1024;
constexpr size_t kMaxLogins = 1000;

// Tabs, line ends, '%' and other control characters never appear raw.
std::string encode(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f || c == '%') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> decode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f) return std::nullopt;
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = hexValue(text[i + 1]), lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    size_t from = 0;
    for (;;) {
        const size_t tab = line.find('\t', from);
        out.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
        if (tab == std::string::npos) return out;
        from = tab + 1;
    }
}

}  // namespace

std::string loginKey(const std::string& profile, const std::string& site, const std::string& realm, bool proxy) {
    return profile + "\n" + site + "\n" + realm + (proxy ? "\nproxy" : "");
}

std::string loginText(const RememberedLogin& login) { return encode(login.user) + "\t" + encode(login.password); }

std::optional<RememberedLogin> loginFromText(const std::string& text) {
    const std::vector<std::string> f = fields(text);
    if (f.size() != 2) return std::nullopt;
    auto user = decode(f[0]), password = decode(f[1]);
    if (!user || !password || user->empty()) return std::nullopt;
    return RememberedLogin{*user, *password};
}

RememberedLogins readLoginFile(const std::string& text) {
    RememberedLogins logins;
    if (text.size() > kMaxBytes) return logins;
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find_first_of("\r\n", from);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    if (lines.empty() || lines[0] != "version=1") return logins;
    for (size_t i = 1; i < lines.size() && logins.size() < kMaxLogins; ++i) {
        if (lines[i].empty()) continue;
        const size_t tab = lines[i].find('\t');
        if (tab == std::string::npos) continue;
        const auto key = decode(lines[i].substr(0, tab));
        const auto login = loginFromText(lines[i].substr(tab + 1));
        if (key && !key->empty() && login) logins[*key] = *login;
    }
    return logins;
}

std::string loginFileText(const RememberedLogins& logins) {
    std::string out = "version=1\n";
    for (const auto& [key, login] : logins) out += encode(key) + "\t" + loginText(login) + "\n";
    return out;
}

}  // namespace corvano
