#pragma once

// A small HTTP server on 127.0.0.1 for the end-to-end tests: fixed pages,
// one request per connection, stopped with the object.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace corvano::test {

class TinyHttpServer {
public:
    TinyHttpServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 64);
        socklen_t len = sizeof addr;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { loop(); });
    }
    ~TinyHttpServer() {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }

    int port() const { return port_; }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    // "127.0.0.1:PORT/path": an address as a user types it, without a scheme.
    std::string hostAndPath(const std::string& path) const { return "127.0.0.1:" + std::to_string(port_) + path; }

    void page(const std::string& path, const std::string& title, const std::string& body = "") {
        std::lock_guard lock(mutex_);
        pages_[path] = "<!doctype html><html><head><title>" + title + "</title></head><body><p>" + body +
                       "</p></body></html>";
    }
    int hits(const std::string& path) {
        std::lock_guard lock(mutex_);
        return hits_[path];
    }

private:
    void loop() {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            int c = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0) continue;
            serve(c);
            ::close(c);
        }
    }
    void serve(int c) {
        std::string req;
        char buf[4096];
        while (req.find("\r\n\r\n") == std::string::npos && req.size() < 65536) {
            pollfd p{c, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0) return;
            ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0) return;
            req.append(buf, static_cast<size_t>(n));
        }
        const size_t sp1 = req.find(' '), sp2 = req.find(' ', sp1 + 1);
        const std::string path = sp1 == std::string::npos ? "/" : req.substr(sp1 + 1, sp2 - sp1 - 1);
        std::string body, status = "200 OK";
        {
            std::lock_guard lock(mutex_);
            ++hits_[path];
            auto it = pages_.find(path);
            if (it == pages_.end())
                status = "404 Not Found", body = "<html><head><title>Not found</title></head></html>";
            else
                body = it->second;
        }
        const std::string resp = "HTTP/1.1 " + status +
                                 "\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: " +
                                 std::to_string(body.size()) + "\r\n\r\n" + body;
        size_t sent = 0;
        while (sent < resp.size()) {
            ssize_t n = ::send(c, resp.data() + sent, resp.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    }

    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::map<std::string, std::string> pages_;
    std::map<std::string, int> hits_;
};

}  // namespace corvano::test
