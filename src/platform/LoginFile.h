#pragma once

#include <map>
#include <optional>
#include <string>

namespace corvano {

// An HTTP login remembered for a site: what the login dialog was given.
struct RememberedLogin {
    std::string user;
    std::string password;
    bool operator==(const RememberedLogin&) const = default;
};

// Remembered logins by key (profile, site, realm).
using RememberedLogins = std::map<std::string, RememberedLogin>;

// The key a login is kept under: one per profile, site (scheme, host, port)
// and realm; a proxy's login apart from a site's.
std::string loginKey(const std::string& profile, const std::string& site, const std::string& realm, bool proxy);

// One login as one line of text (also what the desktop's secret service
// keeps), and back; nothing when the text is not one.
std::string loginText(const RememberedLogin& login);
std::optional<RememberedLogin> loginFromText(const std::string& text);

// The file of remembered logins where no secret service runs: "version=1",
// then one line per login, every field percent-encoded. A file that is not
// one reads as no logins; lines that are not logins are dropped.
RememberedLogins readLoginFile(const std::string& text);
std::string loginFileText(const RememberedLogins& logins);

}  // namespace corvano
