#pragma once

// Debian's MQTT broker on 127.0.0.1, on a free port, with a configuration of
// its own in a temporary folder; ended by its process id. Stopped and started
// again it keeps its port.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "fakes/FreePort.h"

namespace corvano::test {

class MosquittoBroker {
public:
    MosquittoBroker() : port_(freeLoopbackPort()) {
        char dir[] = "/tmp/corvano-broker-XXXXXX";
        if (!::mkdtemp(dir))
            throw std::runtime_error("no temporary folder");
        dir_ = dir;
        std::ofstream(dir_ / "mosquitto.conf") << "listener " << port_ << " 127.0.0.1\n"
                                               << "allow_anonymous true\n"
                                               << "persistence false\n";
        start();
    }
    ~MosquittoBroker() {
        stop();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    int port() const { return port_; }
    bool running() const { return pid_ > 0; }

    // Returns once the broker accepts connections.
    void start() {
        if (pid_ > 0)
            return;
        const std::string conf = (dir_ / "mosquitto.conf").string(), log = (dir_ / "broker.log").string();
        pid_ = ::fork();
        if (pid_ == 0) {
            if (std::freopen(log.c_str(), "a", stderr) && std::freopen(log.c_str(), "a", stdout))
                ::execl("/usr/sbin/mosquitto", "mosquitto", "-c", conf.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!accepts()) {
            if (std::chrono::steady_clock::now() > until || ::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                throw std::runtime_error("the broker did not start; its log: " + log);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    void stop() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (::waitpid(pid_, nullptr, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > until) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        pid_ = -1;
    }


private:
    static sockaddr_in loopback(int port) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(static_cast<uint16_t>(port));
        return addr;
    }
    bool accepts() const {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr = loopback(port_);
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        ::close(fd);
        return ok;
    }

    int port_;
    std::filesystem::path dir_;
    pid_t pid_ = -1;
};

}  // namespace corvano::test
