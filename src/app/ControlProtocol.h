#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "platform/ControlServer.h"

namespace corvano {

// What a caller from outside asks of the wall: over HTTP, from `corvano ctl`
// or in an MQTT message. The names are `corvano ctl`'s.
enum class ControlVerb {
    List,        // every window's state
    Window,      // one window's state
    Version,
    Shot,        // a PNG of one window, or of the whole wall (window 0)
    Open,        // a new window on an address (a free number, or the one named)
    Navigate,
    Reload,      // one window, or every window (kAllWindows)
    Stop,
    Close,
    Arrange,     // layout: grid, columns, rows, cascade, screens
    FullScreen,  // on
    Zoom,        // number: percent
    Refresh,     // number: seconds between refreshes, 0 never
    ShowStart,   // number: seconds between turns
    ShowStop,
    ShowNext,
};

constexpr int kAllWindows = -1;
constexpr int kMostWindows = 20;
// A command is a few hundred bytes; anything much bigger is refused unread.
constexpr size_t kMaxCommandBytes = 16 * 1024;
// Requests being answered at once; one more is told to come back later.
constexpr int kMaxRequestsAtOnce = 4;

struct ControlRequest {
    ControlVerb verb = ControlVerb::List;
    int window = 0;  // 0: none named
    std::string address;
    std::string layout;
    bool on = false;
    int number = 0;
};

// A request refused before anything is done: an HTTP status, a code for
// scripts and a sentence for people.
struct ControlRefusal {
    int status = 400;
    std::string code;
    std::string message;
};

using ControlRead = std::variant<ControlRequest, ControlRefusal>;

// A command as JSON: {"command": "reload", "window": 3}, with "address",
// "layout", "on", "percent", "seconds" and "action" (show: start, stop, next)
// where the command takes them. `appPath`: no address may show a file of
// the application folder.
ControlRead readCommand(std::string_view json, const std::string& appPath);

// One HTTP request: the token first, then the route.
//   GET  /v1/windows, /v1/windows/N, /v1/version, /v1/screenshot,
//        /v1/windows/N/screenshot
//   POST /v1/command   (the JSON above)
ControlRead readHttpRequest(const HttpRequest& request, std::string_view token, const std::string& appPath);

// http, https or file, and a file not in the application folder; the reason otherwise.
std::string addressProblem(const std::string& address, const std::string& appPath);

// The JSON of a refusal, and of a plain success.
std::string refusalJson(const ControlRefusal& refusal);
std::string okJson();

// The seconds between turns of a show mode: 30 s to 30 min, in steps of 30 s
// (the turns come on a 30-second tick).
constexpr int kShowMinSeconds = 30;
constexpr int kShowMaxSeconds = 1800;

}  // namespace corvano
