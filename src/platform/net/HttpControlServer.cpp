#include "platform/net/HttpControlServer.h"

#include <httplib.h>
#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace corvano::net {

// What the server threads and the user-interface thread share: the server
// going away wakes every request still waiting.
struct HttpControlServer::Shared {
    std::mutex mutex;
    std::condition_variable cv;
    bool closing = false;
    ControlServer* server = nullptr;  // read on the user-interface thread only
};

namespace {

struct Pending {
    std::optional<HttpAnswer> answer;
};

// A command is a few hundred bytes; the logic refuses anything near this.
constexpr size_t kMostBodyBytes = 64 * 1024;

HttpAnswer unavailable(const char* code, const char* message) {
    return HttpAnswer{503, "application/json",
                      std::string(R"({"ok":false,"error":")") + code + R"(","message":")" + message + "\"}"};
}

}  // namespace

HttpControlServer::HttpControlServer(ToUiThread toUiThread)
    : toUi_(std::move(toUiThread)), server_(std::make_unique<httplib::Server>()), shared_(std::make_shared<Shared>()) {
    shared_->server = this;
    server_->set_payload_max_length(kMostBodyBytes);
    // One request per connection: no connection lingers and polls when idle.
    server_->set_keep_alive_max_count(1);
    server_->set_read_timeout(5, 0);
    server_->set_write_timeout(5, 0);
    auto handler = [shared = shared_, toUi = toUi_](const httplib::Request& req, httplib::Response& res) {
        HttpRequest request{req.method, req.path, req.get_header_value("Authorization"), req.body};
        auto pending = std::make_shared<Pending>();
        toUi([shared, pending, request = std::move(request)] {
            ControlServer* server = shared->server;
            if (!server || !server->onRequest) {
                std::lock_guard lock(shared->mutex);
                pending->answer = unavailable("closing", "Corvano is ending");
                shared->cv.notify_all();
                return;
            }
            server->onRequest(request, [shared, pending](HttpAnswer a) {
                std::lock_guard lock(shared->mutex);
                if (pending->answer) return;
                pending->answer = std::move(a);
                shared->cv.notify_all();
            });
        });
        std::unique_lock lock(shared->mutex);
        const bool answered = shared->cv.wait_for(lock, std::chrono::milliseconds(kAnswerLimitMs),
                                                  [&] { return pending->answer.has_value() || shared->closing; });
        HttpAnswer a = answered && pending->answer
                           ? *pending->answer
                           : unavailable("no_answer", "Corvano did not answer in time");
        res.status = a.status;
        res.set_content(a.body, a.contentType.c_str());
    };
    const char* any = R"(.*)";
    server_->Get(any, handler);
    server_->Post(any, handler);
    server_->Put(any, handler);
    server_->Delete(any, handler);
    server_->Patch(any, handler);
}

HttpControlServer::~HttpControlServer() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->closing = true;
        shared_->cv.notify_all();
    }
    shared_->server = nullptr;
    server_->stop();
    if (thread_.joinable()) thread_.join();
}

ControlServer::Listening HttpControlServer::listen(const std::string& host, int port) {
    if (thread_.joinable()) return Listening::Failed;
    if (port == 0) {
        port_ = server_->bind_to_any_port(host.c_str());
        if (port_ <= 0) return Listening::Failed;
    } else {
        if (!server_->bind_to_port(host.c_str(), port)) return Listening::PortTaken;
        port_ = port;
    }
    thread_ = std::thread([this] {
        // Its worker threads take its name: the bench finds them by it.
        pthread_setname_np(pthread_self(), "corvano-http");
        server_->listen_after_bind();
    });
    return Listening::Yes;
}

}  // namespace corvano::net
