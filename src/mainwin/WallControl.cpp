#include "mainwin/WallControl.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

#include "about/VersionReport.h"
#include "app/Application.h"
#include "app/ControlToken.h"
#include "app/TextArgs.h"
#include "app/TextFile.h"
#include "bars/Commands.h"
#include "browser/frmStart.h"
#include "mainwin/frmMain.h"
#include "CorvanoVersion.h"

namespace corvano {

using nlohmann::json;

namespace {

const char* failureName(PageFailure f) {
    switch (f) {
        case PageFailure::None: return "ok";
        case PageFailure::Unreachable: return "unreachable";
        case PageFailure::HttpStatus: return "http_status";
        case PageFailure::Failed: return "failed";
        case PageFailure::Crashed: return "crashed";
        case PageFailure::CrashLoopStopped: return "crash_loop_stopped";
    }
    return "ok";
}

HttpAnswer jsonAnswer(int status, std::string body) { return HttpAnswer{status, "application/json", std::move(body)}; }
HttpAnswer refusal(int status, std::string code, std::string message) {
    return jsonAnswer(status, refusalJson({status, std::move(code), std::move(message)}));
}
HttpAnswer notOpen(int number) {
    return refusal(404, "not_open", "window " + std::to_string(number) + " is not open");
}

std::string dump(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

Command layoutCommand(const std::string& layout) {
    if (layout == "columns") return Command::ArrangeColumns;
    if (layout == "rows") return Command::ArrangeRows;
    if (layout == "cascade") return Command::ArrangeCascade;
    if (layout == "screens") return Command::ArrangeEveryScreen;
    return Command::ArrangeGrid;
}

int overlap(const Rect& a, const Rect& b) {
    const int w = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const int h = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

WallControl::WallControl(Application& app) : app_(app) {
    const std::string confPath = app.file("/Data/Control.conf");
    auto text = textfile::readAll(confPath, 64 * 1024);
    if (!text) {
        text = defaultControlConfText();
        textfile::writeAtomic(confPath, *text);
    }
    conf_ = readControlConf(*text);
    if (!conf_.problems.empty())
        std::fprintf(stderr, "corvano: %s: these keys did not read and keep their defaults: %s", confPath.c_str(),
                     conf_.problems.c_str());
    token_ = controlToken(app.file("/Data/Control.key"), true).value_or("");
    app_.onWindowChanged = [this](int number) { windowChanged(number); };
}

WallControl::~WallControl() {
    *alive_ = false;
    app_.onWindowChanged = nullptr;
    if (server_) server_->onRequest = nullptr;
    if (mqtt_) mqtt_->onMessage = nullptr, mqtt_->onConnectionChanged = nullptr;
}

void WallControl::start(std::unique_ptr<ControlServer> server, std::unique_ptr<MqttLink> mqtt) {
    if (server && conf_.listen && !token_.empty()) {
        server_ = std::move(server);
        server_->onRequest = [this](const HttpRequest& request, ControlServer::Answer answer) {
            handle(request, std::move(answer));
        };
        const auto listening = server_->listen(conf_.host, conf_.port);
        if (listening != ControlServer::Listening::Yes) {
            server_.reset();
            const std::string where = conf_.host + ":" + std::to_string(conf_.port);
            const std::string text = withArgs(app_.App.strings[TextId::ControlPortTaken], {where});
            std::fprintf(stderr, "corvano: %s\n", text.c_str());
            app_.platform.dialogs().warning(text, app_.App.strings[TextId::ControlInterface]);
        }
    }
    if (mqtt && conf_.mqtt) {
        mqtt_ = std::move(mqtt);
        mqtt_->onMessage = [this](const std::string& topic, const std::string& payload) {
            mqttMessage(topic, payload);
        };
        mqtt_->onConnectionChanged = [this](bool up) {
            mqttUp_ = up;
            if (!up) return;
            // The broker may have forgotten us: everything is said again.
            mqtt_->publish(conf_.topic + "/status", "online", true);
            announced_.clear();
            for (frmStart* w : app_.browsers.inOrder()) dirty_.insert(w->number());
            publishChanged();
        };
        MqttSettings s;
        s.host = conf_.mqtt->host;
        s.port = conf_.mqtt->port;
        s.tls = conf_.mqtt->tls;
        s.caFile = conf_.mqttCaFile;
        s.user = conf_.mqttUser;
        s.password = conf_.mqttPassword;
        s.clientId = "corvano-" + token_.substr(0, 12);
        s.willTopic = conf_.topic + "/status";
        s.willPayload = "offline";
        std::vector<std::string> topics{conf_.topic + "/cmd"};
        if (!conf_.group.empty()) topics.push_back(conf_.group + "/cmd");
        mqtt_->start(s, topics);
    }
}

void WallControl::stop() {
    if (mqtt_) mqtt_->stop("offline");
    mqtt_.reset();
    mqttUp_ = false;
    server_.reset();
}

void WallControl::handle(const HttpRequest& request, Answer answer) {
    if (answering_ >= kMaxRequestsAtOnce)
        return answer(refusal(429, "busy", "too many requests at once; try again shortly"));
    ControlRead read = readHttpRequest(request, token_, app_.App.appPath);
    if (auto* bad = std::get_if<ControlRefusal>(&read))
        return answer(jsonAnswer(bad->status, refusalJson(*bad)));
    ++answering_;
    auto alive = alive_;
    run(std::get<ControlRequest>(read), [this, alive, answer = std::move(answer)](HttpAnswer a) {
        if (*alive) --answering_;
        answer(std::move(a));
    });
}

void WallControl::mqttMessage(const std::string& topic, const std::string& payload) {
    if (topic != conf_.topic + "/cmd" && !(conf_.group.size() && topic == conf_.group + "/cmd")) return;
    ControlRead read = readCommand(payload, app_.App.appPath);
    auto result = [this](const HttpAnswer& a) {
        if (mqtt_ && mqttUp_) mqtt_->publish(conf_.topic + "/result", a.body, false);
    };
    if (auto* bad = std::get_if<ControlRefusal>(&read)) return result(jsonAnswer(bad->status, refusalJson(*bad)));
    const ControlRequest& r = std::get<ControlRequest>(read);
    if (r.verb == ControlVerb::Shot) return result(refusal(400, "bad_argument", "screenshots come over HTTP only"));
    run(r, result);
}

void WallControl::runCommand(const std::string& name, const CommandCall& call, Answer& answer) {
    switch (app_.commands.run(name, call)) {
        case CommandResult::Done: return answer(jsonAnswer(200, okJson()));
        case CommandResult::NoWindow: return answer(notOpen(call.window));
        case CommandResult::BadArgument: return answer(refusal(400, "bad_argument", "a missing argument"));
        case CommandResult::UnknownCommand: return answer(refusal(500, "internal", "the command is not there"));
    }
}

void WallControl::run(const ControlRequest& r, Answer answer) {
    // A window that is closing takes no more commands.
    const auto window = [this](int n) -> frmStart* {
        frmStart* w = app_.browsers.find(n);
        return w && !w->closing() ? w : nullptr;
    };
    const bool windowCommand = r.window > 0 && r.verb != ControlVerb::Open && r.verb != ControlVerb::Shot;
    if (windowCommand && !window(r.window)) return answer(notOpen(r.window));
    CommandCall call;
    call.window = r.window;
    switch (r.verb) {
        case ControlVerb::List: return answer(jsonAnswer(200, listJson()));
        case ControlVerb::Version: return answer(jsonAnswer(200, versionJson()));
        case ControlVerb::Window: return answer(jsonAnswer(200, windowJson(*window(r.window))));
        case ControlVerb::Shot: return shot(r, std::move(answer));
        case ControlVerb::Open: {
            if (r.window > 0 && app_.browsers.find(r.window))
                return answer(refusal(409, "window_open",
                                      "window " + std::to_string(r.window) + " is open already; navigate it instead"));
            std::set<int> before;
            for (frmStart* w : app_.browsers.inOrder()) before.insert(w->number());
            app_.App.wantedNumber = static_cast<int16_t>(r.window);
            call.address = r.address;
            app_.commands.run("OPEN", call);
            app_.App.wantedNumber = 0;
            for (frmStart* w : app_.browsers.inOrder())
                if (!before.count(w->number()))
                    return answer(jsonAnswer(200, dump(json{{"ok", true}, {"window", w->number()}})));
            return answer(refusal(409, "limit", "no window could be opened: the wall has its most windows"));
        }
        case ControlVerb::Navigate:
            call.address = r.address;
            return runCommand("PAGE:GO", call, answer);
        case ControlVerb::Reload:
            if (r.window != kAllWindows) return runCommand("REFRESH", call, answer);
            for (frmStart* w : app_.browsers.inOrder())
                if (!w->closing()) app_.commands.run("REFRESH", onWindow(w->number()));
            return answer(jsonAnswer(200, okJson()));
        case ControlVerb::Stop: return runCommand("PAGE:STOP", call, answer);
        case ControlVerb::Close: return runCommand("PAGE:CLOSE", call, answer);
        case ControlVerb::Arrange: return runCommand(commandKey(layoutCommand(r.layout)), call, answer);
        case ControlVerb::FullScreen:
            if (window(r.window)->fullScreen() == r.on) return answer(jsonAnswer(200, okJson()));
            return runCommand("PAGE:FULLSCREEN", call, answer);
        case ControlVerb::Zoom:
            call.number = r.number;
            return runCommand("PAGE:ZOOM", call, answer);
        case ControlVerb::Refresh:
            call.number = r.number;
            return runCommand("PAGE:REFRESH", call, answer);
        case ControlVerb::ShowStart:
            call.number = r.number;
            return runCommand("SHOW:EVERY", call, answer);
        case ControlVerb::ShowStop: return runCommand(commandKey(Command::ShowOff), call, answer);
        case ControlVerb::ShowNext:
            if (!app_.App.showModeOn) return answer(refusal(409, "no_show", "no show mode is on"));
            return runCommand("SHOW:NEXT", call, answer);
    }
}

void WallControl::shot(const ControlRequest& r, Answer answer) {
    auto done = [alive = alive_, answer = std::move(answer)](std::string png, std::string why) {
        if (png.empty()) return answer(refusal(503, "no_picture", why.empty() ? "no picture could be taken" : why));
        answer(HttpAnswer{200, "image/png", std::move(png)});
    };
    if (r.window == 0) return app_.platform.screenCapture().screenPng(std::move(done));
    frmStart* w = app_.browsers.find(r.window);
    if (!w || w->closing()) return done({}, "window " + std::to_string(r.window) + " is not open");
    w->window().grabPng([done](std::string png) { done(std::move(png), {}); });
}

std::string WallControl::isoTime(long long clockMs) const {
    if (clockMs < 0) return {};
    const std::time_t t = static_cast<std::time_t>(app_.platform.epochMsAt(clockMs) / 1000);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

std::string WallControl::windowJson(frmStart& w) const { return dump(windowState(w)); }

json WallControl::windowState(frmStart& w) const {
    const double tpp = app_.platform.twipsPerPixel();
    const Rect place = w.normalPlace();
    auto px = [tpp](int twips) { return static_cast<int>(twips / tpp + (twips >= 0 ? 0.5 : -0.5)); };
    std::string monitor;
    int best = 0;
    for (const Monitor& m : app_.platform.monitors())
        if (const int o = overlap(m.rect, place); o > best) best = o, monitor = m.name;
    const PageHealth h = w.health();
    auto time = [this](long long ms) { return ms < 0 ? json(nullptr) : json(isoTime(ms)); };
    // A page that failed says so first; one that loads but asks for a login
    // is as useless on a wall, and says that.
    const bool login = w.loginRequired();
    json health{{"state", h.failure == PageFailure::None && login ? "login_required" : failureName(h.failure)},
                {"login_required", login},
                {"last_good_load", time(h.lastLoadedMs)},
                {"failing_since", time(h.failingSinceMs)},
                {"next_retry", time(h.nextTryMs)}};
    if (h.failure == PageFailure::HttpStatus) health["status"] = h.httpStatus;
    const bool covered = w.window().covered();
    return json{{"window", w.number()},
                     {"address", w.currentAddress()},
                     {"title", w.Web().LocationName()},
                     {"place", {{"x", px(place.left)}, {"y", px(place.top)}, {"width", px(place.width)},
                                {"height", px(place.height)}}},
                     {"monitor", monitor},
                     {"profile", w.profile()},
                     {"fullscreen", w.fullScreen()},
                     {"zoom", w.zoom()},
                     {"refresh", w.refresh()},
                     {"health", health},
                     {"in_view", w.seen() && !covered},
                     {"covered", covered}};
}

std::string WallControl::listJson() const {
    json windows = json::array();
    for (frmStart* w : app_.browsers.inOrder())
        if (!w->closing()) windows.push_back(windowState(*w));
    return dump(json{{"windows", windows}});
}

std::string WallControl::versionJson() const {
    const EngineVersions v = app_.platform.engineVersions();
    const std::string corvano = std::to_string(version::kMajor) + "." + std::to_string(version::kMinor) + "." +
                                std::to_string(version::kRevision);
    return dump(json{{"corvano", corvano},
                     {"qt", v.qt},
                     {"web_engine", v.webEngine},
                     {"chromium", v.chromium},
                     {"security_patch", v.securityPatch}});
}

void WallControl::windowChanged(int number) {
    if (number <= 0) return;
    watchHealth(number);
    if (!mqtt_) return;
    dirty_.insert(number);
    if (flushPosted_) return;
    flushPosted_ = true;
    app_.platform.post([this, alive = alive_] {
        if (!*alive) return;
        flushPosted_ = false;
        publishChanged();
    });
}

void WallControl::publishChanged() {
    if (!mqtt_ || !mqttUp_) return;
    for (int n : std::exchange(dirty_, {})) publishWindow(n);
}

void WallControl::publishWindow(int number) {
    const std::string topic = conf_.topic + "/window/" + std::to_string(number) + "/state";
    frmStart* w = app_.browsers.find(number);
    if (w && !w->closing()) {
        announce(number, true);
        return mqtt_->publish(topic, windowJson(*w), true);
    }
    // A window closed by the wall's own exit comes back at the next start;
    // one closed for good leaves no state behind.
    const frmMain* main = mainForm(app_);
    if (main && main->exiting()) return;
    mqtt_->publish(topic, "", true);
    announce(number, false);
}

void WallControl::announce(int number, bool open) {
    if (!conf_.homeAssistant || open == (announced_.count(number) > 0)) return;
    if (open) announced_.insert(number);
    else announced_.erase(number);
    std::string id = "corvano_" + conf_.topic + "_" + std::to_string(number);
    std::replace(id.begin(), id.end(), '/', '_');
    const std::string n = std::to_string(number);
    const std::string state = conf_.topic + "/window/" + n + "/state";
    const json device{{"identifiers", json::array({id})}, {"name", "Corvano " + conf_.topic + " window " + n},
                      {"model", "Corvano"}};
    auto entity = [&](const std::string& component, const std::string& object, json config) {
        const std::string topic = conf_.homeAssistantPrefix + "/" + component + "/" + id + "/" + object + "/config";
        if (!open) return mqtt_->publish(topic, "", true);
        config["unique_id"] = id + "_" + object;
        config["availability_topic"] = conf_.topic + "/status";
        config["device"] = device;
        mqtt_->publish(topic, dump(config), true);
    };
    entity("button", "reload",
           {{"name", "Reload"},
            {"command_topic", conf_.topic + "/cmd"},
            {"payload_press", dump(json{{"command", "reload"}, {"window", number}})}});
    entity("text", "address",
           {{"name", "Address"},
            {"command_topic", conf_.topic + "/cmd"},
            {"command_template", R"({"command":"navigate","window":)" + n + R"(,"address":{{ value | tojson }}})"},
            {"state_topic", state},
            {"value_template", "{{ value_json.address }}"}});
    entity("sensor", "health",
           {{"name", "Health"},
            {"state_topic", state},
            {"value_template", "{{ value_json.health.state }}"},
            {"json_attributes_topic", state}});
}

void WallControl::watchHealth(int number) {
    frmStart* w = app_.browsers.find(number);
    const bool open = w && !w->closing();
    const PageHealth h = open ? w->health() : PageHealth{};
    // A login page nobody fills in fails the wall as surely as an error.
    const bool failing = h.failure != PageFailure::None || (open && w->loginRequired());
    const PageFailure before = failing_.count(number) ? failing_[number].first : PageFailure::None;
    const bool was = failing_.count(number) && failing_[number].second;
    if (!open) {
        failing_.erase(number);
        stillFailing_.erase(number);
        return;
    }
    failing_[number] = {h.failure, failing};
    if (failing && !was) {
        alert(number, "failing");
        if (conf_.alertAfterSeconds > 0 && !conf_.alert.empty()) {
            auto& t = stillFailing_[number];
            t = app_.platform.createTimer();
            t->onTick = [this, number] {
                stillFailing_[number]->setEnabled(false);
                alert(number, "still_failing");
            };
            t->setInterval(conf_.alertAfterSeconds * 1000);
            t->setEnabled(true);
        }
    } else if (!failing && was) {
        stillFailing_.erase(number);
        alert(number, "recovered");
    }
    if (h.failure == PageFailure::CrashLoopStopped && before != h.failure) alert(number, "crash_loop_stopped");
}

void WallControl::alert(int number, const std::string& event) {
    if (conf_.alert.empty()) return;
    frmStart* w = app_.browsers.find(number);
    json message{{"event", event}, {"window", number}, {"time", isoTime(app_.platform.clockMs())}};
    if (w) message["state"] = windowState(*w);
    app_.platform.postJson(conf_.alert, dump(message));
}

}  // namespace corvano
