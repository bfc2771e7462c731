#include "app/ControlCtl.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <optional>

namespace corvano {

using nlohmann::json;

namespace {

std::optional<int> wholeNumber(const std::string& s) {
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return v;
}

std::string dump(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

std::string cell(const json& j) {
    if (j.is_string()) return j.get<std::string>();
    if (j.is_null()) return "-";
    return dump(j);
}

}  // namespace

std::string ctlUsage() {
    return "usage: corvano ctl [--json] COMMAND\n"
           "  list                      every window and its health\n"
           "  window N                  one window\n"
           "  version                   Corvano's, Qt's and the engine's versions\n"
           "  url                       the control interface's address\n"
           "  open [N] ADDRESS          a new window (number N if free)\n"
           "  navigate N ADDRESS\n"
           "  reload N|all\n"
           "  stop N\n"
           "  close N\n"
           "  arrange grid|columns|rows|cascade|screens\n"
           "  fullscreen N on|off\n"
           "  zoom N PERCENT\n"
           "  refresh N SECONDS         0: never\n"
           "  show start SECONDS | show stop | show next\n"
           "  shot [N] FILE.png         window N, or the whole wall\n";
}

CtlCall readCtlArgs(const std::vector<std::string>& all) {
    CtlCall c;
    std::vector<std::string> a;
    for (const std::string& s : all) {
        if (s == "--json") c.json = true;
        else a.push_back(s);
    }
    auto bad = [&c](std::string why) {
        c.problem = std::move(why);
        return c;
    };
    if (a.empty()) return bad("no command given");
    const std::string& verb = a[0];
    const size_t n = a.size();
    json body{{"command", verb}};
    auto window = [&](size_t i) -> bool {
        if (i >= n) return false;
        if (const auto w = wholeNumber(a[i])) {
            body["window"] = *w;
            return true;
        }
        return false;
    };
    auto post = [&]() {
        c.method = "POST";
        c.path = "/v1/command";
        c.body = dump(body);
        return c;
    };
    if (verb == "list" && n == 1) return c.method = "GET", c.path = "/v1/windows", c;
    if (verb == "version" && n == 1) return c.method = "GET", c.path = "/v1/version", c;
    if (verb == "url" && n == 1) return c;
    if (verb == "window" && n == 2 && wholeNumber(a[1])) return c.method = "GET", c.path = "/v1/windows/" + a[1], c;
    if (verb == "open" && (n == 2 || n == 3)) {
        if (n == 3 && !window(1)) return bad("open: the window is a number");
        body["address"] = a[n - 1];
        return post();
    }
    if (verb == "navigate" && n == 3 && window(1)) return body["address"] = a[2], post();
    if (verb == "reload" && n == 2) {
        if (a[1] == "all") return body["window"] = "all", post();
        if (window(1)) return post();
    }
    if ((verb == "stop" || verb == "close") && n == 2 && window(1)) return post();
    if (verb == "arrange" && n == 2) return body["layout"] = a[1], post();
    if (verb == "fullscreen" && n == 3 && window(1) && (a[2] == "on" || a[2] == "off"))
        return body["on"] = a[2] == "on", post();
    if ((verb == "zoom" || verb == "refresh") && n == 3 && window(1)) {
        const auto v = wholeNumber(a[2]);
        if (!v) return bad(verb + ": the value is a whole number");
        body[verb == "zoom" ? "percent" : "seconds"] = *v;
        return post();
    }
    if (verb == "show" && n >= 2) {
        body["action"] = a[1];
        if (a[1] == "start" && n == 3) {
            const auto v = wholeNumber(a[2]);
            if (!v) return bad("show start: the seconds are a whole number");
            body["seconds"] = *v;
            return post();
        }
        if ((a[1] == "stop" || a[1] == "next") && n == 2) return post();
    }
    if (verb == "shot" && (n == 2 || n == 3)) {
        if (n == 3 && !wholeNumber(a[1])) return bad("shot: the window is a number");
        c.method = "GET";
        c.path = n == 3 ? "/v1/windows/" + a[1] + "/screenshot" : "/v1/screenshot";
        c.outFile = a[n - 1];
        return c;
    }
    return bad("unknown command or wrong arguments: " + verb);
}

std::string ctlText(const CtlCall& call, const std::string& body) {
    if (call.json) return body.empty() || body.back() == '\n' ? body : body + "\n";
    const json j = json::parse(body, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return "ok\n";
    if (j.contains("windows") && j["windows"].is_array()) {
        std::string out = "WINDOW  STATE               ZOOM  REFRESH  PLACE                 ADDRESS\n";
        for (const json& w : j["windows"]) {
            auto field = [&w](const char* k) { return w.contains(k) ? cell(w[k]) : std::string("-"); };
            std::string state = w.contains("health") ? cell(w["health"].value("state", json("-"))) : "-";
            if (w.value("fullscreen", false)) state += ",full";
            std::string place = "-";
            if (w.contains("place") && w["place"].is_object()) {
                const json& p = w["place"];
                place = cell(p.value("width", json(0))) + "x" + cell(p.value("height", json(0))) + "+" +
                        cell(p.value("x", json(0))) + "+" + cell(p.value("y", json(0)));
            }
            char line[160];
            std::snprintf(line, sizeof line, "%-7s %-19s %4s%% %7s  %-21s ", field("window").c_str(),
                          state.c_str(), field("zoom").c_str(), field("refresh").c_str(), place.c_str());
            out += line + field("address") + "\n";
        }
        return out;
    }
    // One window, or the versions: a line a field.
    if ((j.contains("window") && j.contains("address")) || j.contains("corvano")) {
        std::string out;
        for (auto it = j.begin(); it != j.end(); ++it) out += it.key() + ": " + cell(*it) + "\n";
        return out;
    }
    if (j.contains("window")) return "ok: window " + cell(j["window"]) + "\n";
    return "ok\n";
}

std::string ctlRefusalLine(int status, const std::string& body) {
    const json j = json::parse(body, nullptr, false);
    if (!j.is_discarded() && j.is_object() && j.contains("message") && j["message"].is_string())
        return j["message"].get<std::string>() + " (" + std::to_string(status) + ")";
    return "refused with status " + std::to_string(status);
}

std::string ctlHost(const std::string& listenHost) {
    if (listenHost == "0.0.0.0" || listenHost.empty()) return "127.0.0.1";
    if (listenHost == "::") return "::1";
    return listenHost;
}

}  // namespace corvano
