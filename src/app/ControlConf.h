#pragma once

#include <optional>
#include <string>

namespace corvano {

// The control interface's port when Control.conf names none.
constexpr int kControlDefaultPort = 8620;

// Where an MQTT broker is: "mqtt://HOST:PORT" or "mqtts://HOST:PORT" (TLS).
struct BrokerAddress {
    std::string host;
    int port = 1883;
    bool tls = false;
};
// Nothing for anything else (another scheme, no host, a bad port, a path).
std::optional<BrokerAddress> readBrokerAddress(const std::string& text);

// What Data/Control.conf says: version=1, then key=value lines. A line that
// does not parse is reported in `problems` and its key keeps its default.
struct ControlConf {
    bool listen = true;  // listen=off: no HTTP interface
    std::string host = "127.0.0.1";
    int port = kControlDefaultPort;

    std::optional<BrokerAddress> mqtt;  // none: no MQTT
    std::string mqttUser;
    std::string mqttPassword;
    std::string mqttCaFile;
    std::string topic = "corvano";
    std::string group;  // empty: no group topic
    // Home Assistant's MQTT discovery: each window a device.
    bool homeAssistant = false;
    std::string homeAssistantPrefix = "homeassistant";

    std::string alert;  // an http(s) address to post alerts to; empty none
    int alertAfterSeconds = 300;

    std::string problems;  // one line per key that did not read
};

ControlConf readControlConf(const std::string& text);
// The file written at the first start, when there is none.
std::string defaultControlConfText();

// A topic part the user names: no wildcard, no empty level, no NUL.
bool plausibleTopic(const std::string& topic);

}  // namespace corvano
