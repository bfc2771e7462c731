#pragma once

#include <functional>
#include <map>
#include <nlohmann/json_fwd.hpp>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "app/CommandRegistry.h"
#include "app/ControlConf.h"
#include "app/ControlProtocol.h"
#include "browser/PageCare.h"
#include "platform/ControlServer.h"
#include "platform/MqttLink.h"
#include "platform/Timer.h"

namespace corvano {

class Application;
class frmStart;

// The wall as callers from outside see it: requests over HTTP and MQTT run
// the same commands as the bars, each window's state is answered and
// published, and a failing window is reported to the alert address.
class WallControl {
public:
    using Answer = std::function<void(HttpAnswer)>;

    // Reads Data/Control.conf (writing it at the first start) and the token.
    explicit WallControl(Application& app);
    ~WallControl();
    WallControl(const WallControl&) = delete;
    WallControl& operator=(const WallControl&) = delete;

    // Listens and connects as the settings say. The port already taken is
    // said once; the wall runs without the interface then.
    void start(std::unique_ptr<ControlServer> server, std::unique_ptr<MqttLink> mqtt);
    // Before the windows close: the broker hears that the wall is going.
    void stop();

    const ControlConf& conf() const { return conf_; }
    const std::string& token() const { return token_; }

    // One HTTP request; the answer may come later.
    void handle(const HttpRequest& request, Answer answer);
    // A request already read, from any transport.
    void run(const ControlRequest& request, Answer answer);
    // A command message from the broker.
    void mqttMessage(const std::string& topic, const std::string& payload);

    // A window's state as JSON, as the list and the broker give it.
    std::string windowJson(frmStart& window) const;
    std::string listJson() const;
    std::string versionJson() const;

private:
    void windowChanged(int number);
    void publishChanged();
    void publishWindow(int number);
    void watchHealth(int number);
    // Home Assistant's discovery of one window (its three entities), or
    // their removal.
    void announce(int number, bool open);
    void alert(int number, const std::string& event);
    void runCommand(const std::string& name, const CommandCall& call, Answer& answer);
    void shot(const ControlRequest& request, Answer answer);
    std::string isoTime(long long clockMs) const;
    nlohmann::json windowState(frmStart& window) const;

    Application& app_;
    ControlConf conf_;
    std::string token_;
    std::unique_ptr<ControlServer> server_;
    std::unique_ptr<MqttLink> mqtt_;
    bool mqttUp_ = false;
    int answering_ = 0;
    // Windows whose state is to be published, gathered until the event ends.
    std::set<int> dirty_;
    std::set<int> announced_;
    bool flushPosted_ = false;
    // Per window: what failed at the last look and whether it counted as
    // failing, and the timer of its "still failing" alert.
    std::map<int, std::pair<PageFailure, bool>> failing_;
    std::map<int, std::unique_ptr<Timer>> stillFailing_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace corvano
