// Any bytes as a control request: the path and the body of an HTTP request,
// and the same body as an MQTT command. No crash; whatever comes through is
// a request the wall can run as it is.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>

#include "app/ControlConf.h"
#include "app/ControlProtocol.h"

namespace {

const std::string kToken(64, '7');
const std::string kFolder = "/srv/corvano";

void check(const corvano::ControlRead& read) {
    using namespace corvano;
    if (const auto* bad = std::get_if<ControlRefusal>(&read)) {
        if (bad->status < 400 || bad->status > 499 || bad->message.empty()) std::abort();
        refusalJson(*bad);
        return;
    }
    const auto& r = std::get<ControlRequest>(read);
    if (r.window != kAllWindows && (r.window < 0 || r.window > kMostWindows)) std::abort();
    if (r.window == kAllWindows && r.verb != ControlVerb::Reload) std::abort();
    if (!r.address.empty() && !addressProblem(r.address, kFolder).empty()) std::abort();
    if ((r.verb == ControlVerb::Open || r.verb == ControlVerb::Navigate) && r.address.empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvano;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // The first line is the path, the rest the body.
    const size_t nl = bytes.find('\n');
    const std::string path = bytes.substr(0, nl);
    const std::string body = nl == std::string::npos ? std::string() : bytes.substr(nl + 1);
    check(readHttpRequest({"GET", path, "Bearer " + kToken, body}, kToken, kFolder));
    check(readHttpRequest({"POST", "/v1/command", "Bearer " + kToken, body}, kToken, kFolder));
    check(readCommand(bytes, kFolder));
    readControlConf(bytes);
    return 0;
}
