#include "app/ControlConf.h"

#include <charconv>

#include "app/TextFile.h"

namespace corvano {

namespace tf = textfile;

namespace {

std::optional<int> portOf(std::string_view text) {
    int v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || p != text.data() + text.size() || v < 1 || v > 65535)
        return std::nullopt;
    return v;
}

bool plausibleHost(std::string_view host) {
    if (host.empty() || host.size() > 253) return false;
    for (char c : host)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
              c == ':'))
            return false;
    return true;
}

// "HOST:PORT", "[V6]:PORT" or "HOST".
bool splitHostPort(std::string_view text, std::string& host, int& port) {
    std::string_view h = text;
    std::string_view p;
    if (!text.empty() && text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return false;
        h = text.substr(1, close - 1);
        std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return false;
            p = rest.substr(1);
        }
    } else if (const size_t colon = text.rfind(':'); colon != std::string_view::npos) {
        h = text.substr(0, colon);
        p = text.substr(colon + 1);
        if (h.find(':') != std::string_view::npos) return false;  // a bare IPv6 address needs brackets
    }
    if (!plausibleHost(h)) return false;
    if (!p.empty() || text.back() == ':') {
        const auto n = portOf(p);
        if (!n) return false;
        port = *n;
    }
    host = std::string(h);
    return true;
}

}  // namespace

std::optional<BrokerAddress> readBrokerAddress(const std::string& text) {
    BrokerAddress a;
    std::string_view rest;
    if (text.rfind("mqtt://", 0) == 0) {
        rest = std::string_view(text).substr(7);
    } else if (text.rfind("mqtts://", 0) == 0) {
        rest = std::string_view(text).substr(8);
        a.tls = true;
        a.port = 8883;
    } else {
        return std::nullopt;
    }
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    if (rest.find('/') != std::string_view::npos || rest.find('@') != std::string_view::npos) return std::nullopt;
    if (!splitHostPort(rest, a.host, a.port)) return std::nullopt;
    return a;
}

bool plausibleTopic(const std::string& topic) {
    if (topic.empty() || topic.size() > 200) return false;
    if (topic.front() == '/' || topic.back() == '/' || topic.find("//") != std::string::npos) return false;
    for (char c : topic)
        if (c == '+' || c == '#' || static_cast<unsigned char>(c) < 0x20) return false;
    return true;
}

ControlConf readControlConf(const std::string& text) {
    ControlConf conf;
    auto problem = [&conf](const std::string& key) { conf.problems += key + "\n"; };
    bool versioned = false;
    for (const std::string& raw : tf::splitLines(text)) {
        const std::string line = tf::trimBlanks(raw);
        if (line.empty() || line.front() == '#') continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = tf::trimBlanks(line.substr(0, eq));
        const std::string value = tf::trimBlanks(line.substr(eq + 1));
        if (!versioned) {
            // Like the options files: a file without its version line is not ours.
            if (key != "version") {
                problem("version");
                return conf;
            }
            versioned = true;
            continue;
        }
        if (key == "listen") {
            if (value == "off") {
                conf.listen = false;
            } else {
                std::string host;
                int port = kControlDefaultPort;
                if (splitHostPort(value, host, port)) {
                    conf.listen = true;
                    conf.host = host;
                    conf.port = port;
                } else {
                    problem(key);
                }
            }
        } else if (key == "mqtt") {
            if (value.empty() || value == "off") {
                conf.mqtt.reset();
            } else if (auto b = readBrokerAddress(value)) {
                conf.mqtt = b;
            } else {
                problem(key);
            }
        } else if (key == "mqtt_user") {
            conf.mqttUser = value;
        } else if (key == "mqtt_password") {
            conf.mqttPassword = value;
        } else if (key == "mqtt_cafile") {
            conf.mqttCaFile = value;
        } else if (key == "topic" || key == "group") {
            if (!value.empty() && !plausibleTopic(value)) problem(key);
            else if (key == "topic" && !value.empty()) conf.topic = value;
            else if (key == "group") conf.group = value;
        } else if (key == "homeassistant") {
            if (value == "on" || value == "off") conf.homeAssistant = value == "on";
            else problem(key);
        } else if (key == "homeassistant_prefix") {
            if (plausibleTopic(value)) conf.homeAssistantPrefix = value;
            else problem(key);
        } else if (key == "alert") {
            if (value.empty() || value.rfind("http://", 0) == 0 || value.rfind("https://", 0) == 0) conf.alert = value;
            else problem(key);
        } else if (key == "alert_after") {
            int v = 0;
            auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
            if (ec == std::errc() && p == value.data() + value.size() && v >= 0 && v <= 7 * 86400)
                conf.alertAfterSeconds = v;
            else
                problem(key);
        }
    }
    if (!versioned) problem("version");
    return conf;
}

std::string defaultControlConfText() {
    return "version=1\n"
           "# The control interface: ADDRESS:PORT, or off. Anything but 127.0.0.1\n"
           "# lets other computers reach it (they still need the token).\n"
           "listen=127.0.0.1:" +
           std::to_string(kControlDefaultPort) +
           "\n"
           "# MQTT: mqtt://HOST:PORT or mqtts://HOST:PORT, and the topics.\n"
           "#mqtt=mqtt://127.0.0.1:1883\n"
           "#mqtt_user=\n"
           "#mqtt_password=\n"
           "#mqtt_cafile=\n"
           "#topic=corvano\n"
           "#group=wall\n"
           "# Home Assistant's MQTT discovery: each window a device.\n"
           "#homeassistant=on\n"
           "# Alerts: an address that takes a JSON post, and after how many seconds\n"
           "# of failing a window is reported again.\n"
           "#alert=http://127.0.0.1:9000/corvano\n"
           "#alert_after=300\n";
}

}  // namespace corvano
