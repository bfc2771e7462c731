#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/ControlConf.h"
#include "app/ControlCtl.h"
#include "app/ControlProtocol.h"
#include "app/ControlToken.h"
#include "browser/frmStart.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "mainwin/WallControl.h"
#include "mainwin/frmMain.h"

using namespace corvano;
using nlohmann::json;

namespace {

const std::string kToken(64, 'a');

HttpRequest post(const std::string& body, const std::string& token = kToken) {
    return HttpRequest{"POST", "/v1/command", "Bearer " + token, body};
}

int statusOf(const ControlRead& r) {
    if (auto* bad = std::get_if<ControlRefusal>(&r)) return bad->status;
    return 200;
}

}  // namespace

TEST(ControlProtocol, EveryBadRequestIsRefusedWithItsOwnStatus) {
    const std::string app = "/srv/wall";
    struct Case {
        HttpRequest request;
        int status;
    };
    const std::vector<Case> cases = {
        {{"GET", "/v1/windows", "", ""}, 401},
        {{"GET", "/v1/windows", "Bearer " + kToken.substr(1), ""}, 401},
        {{"GET", "/v1/windows", "Bearer " + kToken + "a", ""}, 401},
        {{"GET", "/v1/windows", kToken, ""}, 401},
        {{"GET", "/v1/nothing", "Bearer " + kToken, ""}, 404},
        {{"POST", "/v1/windows", "Bearer " + kToken, ""}, 405},
        {{"GET", "/v1/command", "Bearer " + kToken, ""}, 405},
        {{"GET", "/v1/windows/21", "Bearer " + kToken, ""}, 400},
        {post("{\"command\":"), 400},
        {post("[1,2]"), 400},
        {post(std::string(kMaxCommandBytes + 1, ' ')), 413},
        {post(R"({"command":"format"})"), 400},
        {post(R"({"command":"reload"})"), 400},
        {post(R"({"command":"reload","window":0})"), 400},
        {post(R"({"command":"reload","window":21})"), 400},
        {post(R"({"command":"reload","window":"3"})"), 400},
        {post(R"({"command":"zoom","window":3,"percent":900})"), 400},
        {post(R"({"command":"show","action":"start","seconds":5})"), 400},
        {post(R"j({"command":"open","address":"javascript:alert(1)"})j"), 400},
        {post(R"({"command":"open","address":"data:text/html,x"})"), 400},
        {post(R"({"command":"open","address":"file:///srv/wall/Data/Control.key"})"), 400},
        {post(R"({"command":"open","address":"file:///srv/other/../wall/Data/Control.key"})"), 400},
        {post(R"({"command":"open","address":"file:///srv/wall%2FData/Control.key"})"), 400},
        {post(R"({"command":"open","address":"file://elsewhere/etc/hosts"})"), 400},
        {post(R"({"command":"open","address":"http://x/\u0000"})"), 400},
        // The same requests, well formed, come through.
        {post(R"({"command":"reload","window":"all"})"), 200},
        {post(R"({"command":"open","address":"file:///srv/wallpaper/a.html"})"), 200},
        {post(R"({"command":"navigate","window":20,"address":"HTTPS://example.org/"})"), 200},
        {{"GET", "/v1/windows/3/screenshot", "Bearer " + kToken, ""}, 200},
    };
    for (const Case& c : cases)
        EXPECT_EQ(statusOf(readHttpRequest(c.request, kToken, app)), c.status) << c.request.path << " " << c.request.body;
}

TEST(ControlProtocol, WhatCtlSendsIsWhatTheInterfaceReads) {
    struct Case {
        std::vector<std::string> args;
        ControlVerb verb;
        int window;
        int number;
    };
    const std::vector<Case> cases = {
        {{"open", "https://a.example/"}, ControlVerb::Open, 0, 0},
        {{"open", "7", "https://a.example/"}, ControlVerb::Open, 7, 0},
        {{"navigate", "3", "https://a.example/"}, ControlVerb::Navigate, 3, 0},
        {{"reload", "all"}, ControlVerb::Reload, kAllWindows, 0},
        {{"--json", "close", "2"}, ControlVerb::Close, 2, 0},
        {{"fullscreen", "4", "on"}, ControlVerb::FullScreen, 4, 0},
        {{"zoom", "4", "150"}, ControlVerb::Zoom, 4, 150},
        {{"refresh", "4", "0"}, ControlVerb::Refresh, 4, 0},
        {{"arrange", "screens"}, ControlVerb::Arrange, 0, 0},
        {{"show", "start", "60"}, ControlVerb::ShowStart, 0, 60},
        {{"show", "next"}, ControlVerb::ShowNext, 0, 0},
    };
    for (const Case& c : cases) {
        const CtlCall call = readCtlArgs(c.args);
        ASSERT_TRUE(call.problem.empty()) << c.args[0];
        const ControlRead read =
            readHttpRequest({call.method, call.path, "Bearer " + kToken, call.body}, kToken, "/srv/wall");
        ASSERT_EQ(statusOf(read), 200) << call.body;
        const auto& r = std::get<ControlRequest>(read);
        EXPECT_EQ(r.verb, c.verb) << call.body;
        EXPECT_EQ(r.window, c.window) << call.body;
        EXPECT_EQ(r.number, c.number) << call.body;
    }
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{}, {"reload"}, {"zoom", "x", "100"}, {"fullscreen", "1", "yes"}, {"shot"}})
        EXPECT_FALSE(readCtlArgs(bad).problem.empty());
}

TEST(ControlProtocol, TheTokenIsMadeOnceKeptPrivateAndComparedWhole) {
    test::TempFolder dir;
    const std::string path = dir.file("/Control.key");
    EXPECT_FALSE(controlToken(path, false));
    const auto made = controlToken(path, true);
    ASSERT_TRUE(made);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
    // Made readable by others, it is made private again and stays the same.
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(controlToken(path, true), made);
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 077, 0u);
    // A second token differs: it comes from a random source.
    test::TempFolder other;
    EXPECT_NE(controlToken(other.file("/Control.key"), true), made);
}

TEST(ControlConf, ReadsItsKeysAndKeepsTheDefaultForABadOne) {
    const ControlConf c = readControlConf(
        "version=1\nlisten=0.0.0.0:9000\nmqtt=mqtts://broker.lan\ntopic=wall/a\ngroup=wall/all\nalert=ftp://x\n"
        "alert_after=60\nfuture_key=1\n");
    EXPECT_EQ(c.host, "0.0.0.0");
    EXPECT_EQ(c.port, 9000);
    ASSERT_TRUE(c.mqtt);
    EXPECT_TRUE(c.mqtt->tls);
    EXPECT_EQ(c.mqtt->port, 8883);
    EXPECT_EQ(c.group, "wall/all");
    EXPECT_EQ(c.alert, "");
    EXPECT_EQ(c.alertAfterSeconds, 60);
    EXPECT_EQ(c.problems, "alert\n");
    EXPECT_FALSE(readControlConf("version=1\nlisten=off\n").listen);
    for (const char* bad : {"listen=localhost:0", "listen=:80", "listen=[::1", "topic=a/#", "mqtt=http://x:1"})
        EXPECT_FALSE(readControlConf(std::string("version=1\n") + bad + "\n").problems.empty()) << bad;
    EXPECT_TRUE(readControlConf(defaultControlConfText()).problems.empty());
}

namespace {

class FakeMqtt : public MqttLink {
public:
    void start(const MqttSettings& s, const std::vector<std::string>& t) override { settings = s, topics = t; }
    void publish(const std::string& topic, const std::string& payload, bool retain) override {
        published.push_back({topic, payload, retain});
    }
    void stop(const std::string&) override {}
    struct Message {
        std::string topic, payload;
        bool retain;
    };
    MqttSettings settings;
    std::vector<std::string> topics;
    std::vector<Message> published;
};

struct WallControlTest : ::testing::Test {
    test::TempFolder dir;
    fake::FakePlatform platform;
    std::unique_ptr<Application> app;
    std::unique_ptr<WallControl> control;
    FakeMqtt* mqtt = nullptr;

    explicit WallControlTest(const std::string& conf = "version=1\nmqtt=mqtt://127.0.0.1:1883\ngroup=wall\n"
                                                       "alert=http://127.0.0.1:9/a\nalert_after=300\n") {
        dir.write("/Data/Control.conf", conf);
        app = std::make_unique<Application>(platform, dir.path());
        Sub_Main(*app);
        control = std::make_unique<WallControl>(*app);
        auto link = std::make_unique<FakeMqtt>();
        mqtt = link.get();
        control->start(nullptr, std::move(link));
    }
    ~WallControlTest() override { control.reset(); }
    HttpAnswer ask(const HttpRequest& request) {
        HttpAnswer got{0, "", ""};
        control->handle(request, [&got](HttpAnswer a) { got = std::move(a); });
        return got;
    }
    HttpAnswer command(const std::string& body, const std::string& token = "") {
        return ask(post(body, token.empty() ? control->token() : token));
    }
    fake::FakeWebView& web(int n) { return static_cast<fake::FakeWebView&>(app->browsers.find(n)->Web()); }
    void flush() {
        auto tasks = std::move(platform.posted);
        platform.posted.clear();
        for (auto& t : tasks) t();
    }
};

}  // namespace

TEST_F(WallControlTest, RequestsRunTheWallsCommandsAndRefusedOnesChangeNothing) {
    EXPECT_EQ(control->token().size(), 64u);
    EXPECT_EQ(command(R"({"command":"open","window":4,"address":"http://four.example/"})").body,
              R"({"ok":true,"window":4})");
    // The wall starts with window 1; the next free number is 2.
    EXPECT_EQ(command(R"({"command":"open","address":"http://two.example/"})").body, R"({"ok":true,"window":2})");
    EXPECT_EQ(command(R"({"command":"open","window":4,"address":"http://x.example/"})").status, 409);
    EXPECT_EQ(app->browsers.find(4)->currentAddress(), "http://four.example/");

    // A wrong token, or a window that is not open: nothing is done.
    for (int n : {1, 2, 4}) web(n).calls.clear();
    EXPECT_EQ(command(R"({"command":"reload","window":"all"})", std::string(64, 'b')).status, 401);
    EXPECT_EQ(command(R"({"command":"reload","window":3})").status, 404);
    for (int n : {1, 2, 4}) EXPECT_TRUE(web(n).calls.empty());

    EXPECT_EQ(command(R"({"command":"reload","window":"all"})").status, 200);
    for (int n : {1, 2, 4}) EXPECT_EQ(web(n).calls, std::vector<std::string>{"Refresh2"});
    EXPECT_EQ(command(R"({"command":"zoom","window":4,"percent":175})").status, 200);
    EXPECT_EQ(app->browsers.find(4)->zoom(), 175);
    EXPECT_EQ(command(R"({"command":"fullscreen","window":4,"on":true})").status, 200);
    EXPECT_EQ(command(R"({"command":"fullscreen","window":4,"on":true})").status, 200);
    EXPECT_TRUE(app->browsers.find(4)->fullScreen());
    EXPECT_EQ(command(R"({"command":"show","action":"next"})").status, 409);
    EXPECT_EQ(command(R"({"command":"show","action":"start","seconds":60})").status, 200);
    EXPECT_TRUE(app->App.showModeOn);
    EXPECT_EQ(app->App.rotationPeriod, 2);

    const json list = json::parse(ask({"GET", "/v1/windows", "Bearer " + control->token(), ""}).body);
    ASSERT_EQ(list["windows"].size(), 3u);
    EXPECT_EQ(list["windows"][2]["window"], 4);
    EXPECT_EQ(list["windows"][2]["zoom"], 175);
    EXPECT_EQ(list["windows"][2]["fullscreen"], true);

    // Requests still being answered hold their places; one more is told to wait.
    platform.capture.hold = true;
    for (int i = 0; i < kMaxRequestsAtOnce; ++i)
        control->handle({"GET", "/v1/screenshot", "Bearer " + control->token(), ""}, [](HttpAnswer) {});
    EXPECT_EQ(command(R"({"command":"close","window":4})").status, 429);
    EXPECT_TRUE(app->browsers.find(4));
    platform.capture.answer();
    EXPECT_EQ(command(R"({"command":"close","window":4})").status, 200);
    EXPECT_FALSE(app->browsers.find(4));
}

TEST_F(WallControlTest, TheBrokerHearsEachWindowsStateAndItsCommandsRunOnTheWall) {
    command(R"({"command":"navigate","window":1,"address":"http://one.example/"})");
    EXPECT_EQ(mqtt->topics, (std::vector<std::string>{"corvano/cmd", "wall/cmd"}));
    EXPECT_EQ(mqtt->settings.willTopic, "corvano/status");
    mqtt->onConnectionChanged(true);
    ASSERT_GE(mqtt->published.size(), 2u);
    EXPECT_EQ(mqtt->published[0].payload, "online");
    EXPECT_EQ(mqtt->published[1].topic, "corvano/window/1/state");
    EXPECT_TRUE(mqtt->published[1].retain);
    EXPECT_EQ(json::parse(mqtt->published[1].payload)["address"], "http://one.example/");

    web(1).calls.clear();
    mqtt->onMessage("wall/cmd", R"({"command":"reload","window":1})");
    EXPECT_EQ(web(1).calls, std::vector<std::string>{"Refresh2"});
    mqtt->onMessage("other/cmd", R"({"command":"reload","window":1})");
    EXPECT_EQ(web(1).calls.size(), 1u);

    // A window closed for good leaves an empty retained state.
    mqtt->published.clear();
    mqtt->onMessage("corvano/cmd", R"({"command":"close","window":1})");
    flush();
    ASSERT_FALSE(mqtt->published.empty());
    EXPECT_EQ(mqtt->published.back().topic, "corvano/window/1/state");
    EXPECT_EQ(mqtt->published.back().payload, "");
}

TEST_F(WallControlTest, AFailingWindowIsReportedWhenItFailsAfterItsTimeAndWhenItRecovers) {
    auto events = [this] {
        std::vector<std::string> e;
        for (const auto& p : platform.posts) e.push_back(json::parse(p.second)["event"]);
        return e;
    };
    web(1).events->Web_LoadEnd(LoadEnd{LoadEnd::Unreachable, 0, "http://one.example/"});
    EXPECT_EQ(events(), std::vector<std::string>{"failing"});
    EXPECT_EQ(platform.posts[0].first, "http://127.0.0.1:9/a");
    platform.advance(299 * 1000);
    EXPECT_EQ(events().size(), 1u);
    web(1).events->Web_LoadEnd(LoadEnd{LoadEnd::HttpError, 503, "http://one.example/"});
    platform.advance(2 * 1000);
    EXPECT_EQ(events(), (std::vector<std::string>{"failing", "still_failing"}));
    const json state = json::parse(platform.posts[1].second)["state"]["health"];
    EXPECT_EQ(state["state"], "http_status");
    EXPECT_EQ(state["status"], 503);
    EXPECT_EQ(state["failing_since"], "2026-01-01T00:00:00Z");
    web(1).events->Web_LoadEnd(LoadEnd{LoadEnd::Loaded, 200, "http://one.example/"});
    EXPECT_EQ(events(), (std::vector<std::string>{"failing", "still_failing", "recovered"}));
}

TEST(WallControlPort, APortAlreadyTakenIsSaidOnceAndTheWallRunsWithoutTheInterface) {
    struct TakenPort : ControlServer {
        Listening listen(const std::string&, int) override { return Listening::PortTaken; }
        int port() const override { return 0; }
    };
    test::TempFolder dir;
    fake::FakePlatform platform;
    Application app(platform, dir.path());
    Sub_Main(app);
    app.App.strings.set(TextId::ControlPortTaken, "taken: %1");
    app.App.strings.set(TextId::ControlInterface, "Control");
    WallControl control(app);
    control.start(std::make_unique<TakenPort>(), nullptr);
    ASSERT_EQ(platform.dialog.messages, std::vector<std::string>{"Control: taken: 127.0.0.1:8620"});
    EXPECT_TRUE(app.browsers.find(1));
    EXPECT_NE(dir.read("/Data/Control.conf").find("listen=127.0.0.1:8620"), std::string::npos);
}

namespace {
struct HomeAssistantTest : WallControlTest {
    HomeAssistantTest() : WallControlTest("version=1\nmqtt=mqtt://127.0.0.1:1883\ntopic=lobby/pc1\nhomeassistant=on\n") {}
    const FakeMqtt::Message* find(const std::string& topic) const {
        for (auto it = mqtt->published.rbegin(); it != mqtt->published.rend(); ++it)
            if (it->topic == topic) return &*it;
        return nullptr;
    }
};
}  // namespace

// Each window a device whose button and text send commands the wall takes.
TEST_F(HomeAssistantTest, EachWindowIsADeviceWhoseEntitiesSendCommandsTheWallTakes) {
    mqtt->onConnectionChanged(true);
    auto config = [&](const std::string& component, const std::string& object) {
        const auto* m = find("homeassistant/" + component + "/corvano_lobby_pc1_1/" + object + "/config");
        return m && m->retain && !m->payload.empty() ? json::parse(m->payload) : json();
    };
    const json button = config("button", "reload"), text = config("text", "address"), sensor = config("sensor", "health");
    ASSERT_FALSE(button.is_null() || text.is_null() || sensor.is_null());
    EXPECT_EQ(button["command_topic"], "lobby/pc1/cmd");
    EXPECT_EQ(sensor["state_topic"], "lobby/pc1/window/1/state");
    EXPECT_EQ(button["device"], sensor["device"]);
    // What Home Assistant sends is a command this wall runs.
    EXPECT_EQ(statusOf(readCommand(button["payload_press"].get<std::string>(), dir.path())), 200);
    std::string navigate = text["command_template"];
    navigate.replace(navigate.find("{{ value | tojson }}"), 20, "\"https://example.org/\"");
    EXPECT_EQ(statusOf(readCommand(navigate, dir.path())), 200) << navigate;

    // Closed for good, the window's device goes.
    mqtt->onMessage("lobby/pc1/cmd", R"({"command":"close","window":1})");
    flush();
    ASSERT_TRUE(find("homeassistant/button/corvano_lobby_pc1_1/reload/config"));
    EXPECT_EQ(find("homeassistant/button/corvano_lobby_pc1_1/reload/config")->payload, "");
}
