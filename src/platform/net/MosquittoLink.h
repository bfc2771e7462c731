#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/MqttLink.h"

namespace corvano::net {

// The broker link on libmosquitto, with a network thread of its own: the
// caller's thread never resolves a name, connects or waits on the broker.
// Everything it reports goes through toUiThread, which must accept calls from
// any thread; nothing reported is delivered once stop() has run or the link
// is gone.
class MosquittoLink : public MqttLink {
public:
    explicit MosquittoLink(std::function<void(std::function<void()>)> toUiThread);
    ~MosquittoLink() override;
    MosquittoLink(const MosquittoLink&) = delete;
    MosquittoLink& operator=(const MosquittoLink&) = delete;

    void start(const MqttSettings& settings, const std::vector<std::string>& topics) override;
    void publish(const std::string& topic, const std::string& payload, bool retain) override;
    void stop(const std::string& lastPayload) override;

    struct Core;  // shared with the network thread, which may outlive a stop that timed out

private:
    std::function<void(std::function<void()>)> toUiThread_;
    std::shared_ptr<bool> delivering_;  // read and written on the UI thread only
    std::shared_ptr<Core> core_;
    std::thread thread_;
};

}  // namespace corvano::net
