#pragma once

#include <functional>
#include <string>
#include <vector>

namespace corvano {

// Where and how to reach the broker.
struct MqttSettings {
    std::string host;
    int port = 1883;
    bool tls = false;
    std::string caFile;  // empty: the system's certificates
    std::string user;
    std::string password;
    std::string clientId;
    // Published by the broker for us when the connection is lost.
    std::string willTopic;
    std::string willPayload;
};

// A connection to an MQTT broker, kept in the background: it connects,
// subscribes, and after a loss connects again with growing waits; it never
// blocks the caller. Messages and changes reach the logic on the
// user-interface thread.
class MqttLink {
public:
    virtual ~MqttLink() = default;
    // Starts connecting; subscribes to the topics at every connection, and
    // tells of it once the subscriptions hold. Once per link.
    virtual void start(const MqttSettings& settings, const std::vector<std::string>& topics) = 0;
    // Sent now when connected, at least once, dropped otherwise (the logic
    // publishes its states again at each connection).
    virtual void publish(const std::string& topic, const std::string& payload, bool retain) = 0;
    // Publishes the will's topic as it should read when we end on purpose,
    // then disconnects; nothing is received after it.
    virtual void stop(const std::string& lastPayload) = 0;

    std::function<void(const std::string& topic, const std::string& payload)> onMessage;
    std::function<void(bool connected)> onConnectionChanged;
};

}  // namespace corvano
