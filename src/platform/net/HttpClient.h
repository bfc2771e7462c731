#pragma once

#include <string>

namespace corvano::net {

struct HttpReply {
    bool reached = false;  // false: nobody answered (error says why)
    int status = 0;
    std::string body;
    std::string error;
};

// One request, with a bound on the connection and on the answer.
HttpReply httpCall(const std::string& host, int port, const std::string& method, const std::string& path,
                   const std::string& token, const std::string& body, int timeoutSeconds);

}  // namespace corvano::net
