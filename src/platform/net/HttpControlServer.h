#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "platform/ControlServer.h"

namespace httplib {
class Server;
}

namespace corvano::net {

// The control interface's HTTP server on its own threads: each request waits
// there for the logic's answer, which is asked for on the user-interface
// thread, so a slow answer never holds the windows.
class HttpControlServer : public ControlServer {
public:
    using ToUiThread = std::function<void(std::function<void()>)>;
    // How long a request waits for the logic before it is answered 503.
    static constexpr int kAnswerLimitMs = 30000;

    explicit HttpControlServer(ToUiThread toUiThread);
    ~HttpControlServer() override;
    Listening listen(const std::string& host, int port) override;
    int port() const override { return port_; }

    struct Shared;

private:
    ToUiThread toUi_;
    std::unique_ptr<httplib::Server> server_;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    int port_ = 0;
};

}  // namespace corvano::net
