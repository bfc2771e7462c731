#pragma once

#include <functional>
#include <string>

namespace corvano {

// One HTTP request as the logic reads it.
struct HttpRequest {
    std::string method;
    std::string path;  // without the query
    std::string authorization;
    std::string body;
};

struct HttpAnswer {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
};

// The HTTP side of the control interface: it listens, and hands each request
// to the logic on the user-interface thread; the answer may come later (a
// screenshot), and is sent once, from any point of the logic.
class ControlServer {
public:
    enum class Listening { Yes, PortTaken, Failed };
    virtual ~ControlServer() = default;
    virtual Listening listen(const std::string& host, int port) = 0;
    // The port really listened on (the one asked, or the system's choice for 0).
    virtual int port() const = 0;

    using Answer = std::function<void(HttpAnswer)>;
    std::function<void(const HttpRequest& request, Answer answer)> onRequest;
};

}  // namespace corvano
