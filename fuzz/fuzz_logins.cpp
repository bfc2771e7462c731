// Any bytes as the file of remembered logins: no crash, and what is read
// from it is written and read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/LoginFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvano;
    const RememberedLogins logins = readLoginFile(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& [key, login] : logins)
        if (key.empty() || login.user.empty()) std::abort();
    if (readLoginFile(loginFileText(logins)) != logins) std::abort();
    return 0;
}
