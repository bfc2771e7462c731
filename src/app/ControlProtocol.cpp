#include "app/ControlProtocol.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <optional>
#include <filesystem>

#include "app/ControlToken.h"

namespace corvano {

using nlohmann::json;

namespace {

ControlRefusal refuse(int status, std::string code, std::string message) {
    return ControlRefusal{status, std::move(code), std::move(message)};
}

ControlRefusal badArgument(const std::string& message) { return refuse(400, "bad_argument", message); }

struct Verb {
    const char* name;
    ControlVerb verb;
};
constexpr Verb kVerbs[] = {
    {"list", ControlVerb::List},         {"version", ControlVerb::Version},    {"shot", ControlVerb::Shot},
    {"open", ControlVerb::Open},         {"navigate", ControlVerb::Navigate},  {"reload", ControlVerb::Reload},
    {"stop", ControlVerb::Stop},         {"close", ControlVerb::Close},        {"arrange", ControlVerb::Arrange},
    {"fullscreen", ControlVerb::FullScreen}, {"zoom", ControlVerb::Zoom},      {"refresh", ControlVerb::Refresh},
};
constexpr const char* kLayouts[] = {"grid", "columns", "rows", "cascade", "screens"};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent escapes decoded; nothing for a broken escape or a NUL.
std::optional<std::string> percentDecoded(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size()) return std::nullopt;
        const int hi = hexValue(s[i + 1]), lo = hexValue(s[i + 2]);
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

// The window a command names: a number from 1 to 20, or "all" where allowed.
std::variant<int, ControlRefusal> windowOf(const json& j, bool required, bool allAllowed) {
    const auto it = j.find("window");
    if (it == j.end() || it->is_null()) {
        if (required) return badArgument("this command needs a window number");
        return 0;
    }
    if (allAllowed && it->is_string() && it->get<std::string>() == "all") return kAllWindows;
    if (!it->is_number_integer()) return badArgument("the window is a number from 1 to 20");
    const long long n = it->get<long long>();
    if (n < 1 || n > kMostWindows) return badArgument("the window is a number from 1 to 20");
    return static_cast<int>(n);
}

std::variant<int, ControlRefusal> numberOf(const json& j, const char* key, int low, int high) {
    const auto it = j.find(key);
    const std::string range = std::string(key) + " is a whole number from " + std::to_string(low) + " to " +
                              std::to_string(high);
    if (it == j.end() || !it->is_number_integer()) return badArgument(range);
    const long long n = it->get<long long>();
    if (n < low || n > high) return badArgument(range);
    return static_cast<int>(n);
}

std::optional<std::string> stringOf(const json& j, const char* key) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_string()) return std::nullopt;
    return it->get<std::string>();
}

std::optional<int> windowInPath(std::string_view text) {
    int n = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || text.size() > 2 || ec != std::errc() || p != text.data() + text.size()) return std::nullopt;
    return n;
}

}  // namespace

std::string addressProblem(const std::string& address, const std::string& appPath) {
    if (address.empty()) return "an address is needed";
    if (address.size() > 8192) return "the address is too long";
    for (char c : address)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return "the address holds a control character";
    const std::string lower = [&] {
        std::string s = address.substr(0, 8);
        for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        return s;
    }();
    if (lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0) return {};
    if (lower.rfind("file://", 0) != 0) return "only http, https and file addresses are taken";
    // file://HOST/PATH: only the local host.
    std::string_view rest = std::string_view(address).substr(7);
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return "the file address has no path";
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && host != "localhost") return "a file address names this computer only";
    std::string_view pathPart = rest.substr(slash);
    pathPart = pathPart.substr(0, pathPart.find_first_of("?#"));
    const auto path = percentDecoded(pathPart);
    if (!path) return "the file address is not well formed";
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path wanted = fs::weakly_canonical(fs::path(*path).lexically_normal(), ec);
    const fs::path folder = fs::weakly_canonical(fs::path(appPath), ec);
    if (!appPath.empty()) {
        const auto [f, w] = std::mismatch(folder.begin(), folder.end(), wanted.begin(), wanted.end());
        if (f == folder.end()) return "files of the application folder are not shown";
    }
    return {};
}

ControlRead readCommand(std::string_view text, const std::string& appPath) {
    if (text.size() > kMaxCommandBytes) return refuse(413, "too_large", "the command is too large");
    const json j = json::parse(text.begin(), text.end(), nullptr, false);
    if (j.is_discarded() || !j.is_object()) return refuse(400, "bad_json", "the command is not a JSON object");
    const auto name = stringOf(j, "command");
    if (!name) return refuse(400, "bad_json", "the command has no \"command\" name");

    ControlRequest r;
    auto takeWindow = [&](bool required, bool all) -> std::optional<ControlRefusal> {
        auto w = windowOf(j, required, all);
        if (auto* bad = std::get_if<ControlRefusal>(&w)) return *bad;
        r.window = std::get<int>(w);
        return std::nullopt;
    };
    auto takeNumber = [&](const char* key, int low, int high) -> std::optional<ControlRefusal> {
        auto n = numberOf(j, key, low, high);
        if (auto* bad = std::get_if<ControlRefusal>(&n)) return *bad;
        r.number = std::get<int>(n);
        return std::nullopt;
    };
    auto takeAddress = [&]() -> std::optional<ControlRefusal> {
        const auto a = stringOf(j, "address");
        if (!a) return badArgument("this command needs an address");
        if (const std::string why = addressProblem(*a, appPath); !why.empty()) return badArgument(why);
        r.address = *a;
        return std::nullopt;
    };

    if (*name == "show") {
        const std::string action = stringOf(j, "action").value_or("");
        if (action == "stop") r.verb = ControlVerb::ShowStop;
        else if (action == "next") r.verb = ControlVerb::ShowNext;
        else if (action == "start") {
            r.verb = ControlVerb::ShowStart;
            if (auto bad = takeNumber("seconds", kShowMinSeconds, kShowMaxSeconds)) return *bad;
        } else {
            return badArgument("show takes the action start, stop or next");
        }
        return r;
    }
    const Verb* verb = nullptr;
    for (const Verb& v : kVerbs)
        if (*name == v.name) verb = &v;
    if (!verb) return refuse(400, "unknown_command", "unknown command \"" + name->substr(0, 40) + "\"");
    r.verb = verb->verb;

    std::optional<ControlRefusal> bad;
    switch (r.verb) {
        case ControlVerb::List:
        case ControlVerb::Version:
        case ControlVerb::Window:
        case ControlVerb::ShowStart:
        case ControlVerb::ShowStop:
        case ControlVerb::ShowNext:
            break;
        case ControlVerb::Shot:
            bad = takeWindow(false, false);
            break;
        case ControlVerb::Open:
            if (!(bad = takeWindow(false, false))) bad = takeAddress();
            break;
        case ControlVerb::Navigate:
            if (!(bad = takeWindow(true, false))) bad = takeAddress();
            break;
        case ControlVerb::Reload:
            bad = takeWindow(true, true);
            break;
        case ControlVerb::Stop:
        case ControlVerb::Close:
            bad = takeWindow(true, false);
            break;
        case ControlVerb::Arrange: {
            const std::string layout = stringOf(j, "layout").value_or("");
            for (const char* l : kLayouts)
                if (layout == l) r.layout = layout;
            if (r.layout.empty()) bad = badArgument("arrange takes grid, columns, rows, cascade or screens");
            break;
        }
        case ControlVerb::FullScreen: {
            if ((bad = takeWindow(true, false))) break;
            const auto it = j.find("on");
            if (it == j.end() || !it->is_boolean()) bad = badArgument("fullscreen needs \"on\": true or false");
            else r.on = it->get<bool>();
            break;
        }
        case ControlVerb::Zoom:
            if (!(bad = takeWindow(true, false))) bad = takeNumber("percent", 25, 500);
            break;
        case ControlVerb::Refresh:
            if ((bad = takeWindow(true, false))) break;
            bad = takeNumber("seconds", 0, 86400);
            if (!bad && r.number != 0 && r.number < 30) bad = badArgument("seconds is 0 (never) or from 30 to 86400");
            break;
    }
    if (bad) return *bad;
    return r;
}

ControlRead readHttpRequest(const HttpRequest& request, std::string_view token, const std::string& appPath) {
    if (!tokenMatches(request.authorization, token))
        return refuse(401, "unauthorized", "a valid token is needed (Authorization: Bearer TOKEN)");
    std::string_view path = request.path;
    if (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    const bool get = request.method == "GET";
    auto onlyGet = [&](ControlRequest r) -> ControlRead {
        if (!get) return refuse(405, "method_not_allowed", "use GET here");
        return r;
    };
    if (path == "/v1/command") {
        if (request.method != "POST") return refuse(405, "method_not_allowed", "use POST here");
        return readCommand(request.body, appPath);
    }
    auto plain = [](ControlVerb verb) {
        ControlRequest r;
        r.verb = verb;
        return r;
    };
    if (path == "/v1/windows") return onlyGet(plain(ControlVerb::List));
    if (path == "/v1/version") return onlyGet(plain(ControlVerb::Version));
    if (path == "/v1/screenshot") return onlyGet(plain(ControlVerb::Shot));
    constexpr std::string_view kWindows = "/v1/windows/";
    if (path.substr(0, kWindows.size()) == kWindows) {
        std::string_view rest = path.substr(kWindows.size());
        const size_t slash = rest.find('/');
        const std::string_view tail = slash == std::string_view::npos ? "" : rest.substr(slash);
        const auto n = windowInPath(rest.substr(0, slash));
        if (n && (tail.empty() || tail == "/screenshot")) {
            if (*n < 1 || *n > kMostWindows) return badArgument("the window is a number from 1 to 20");
            ControlRequest r;
            r.verb = tail.empty() ? ControlVerb::Window : ControlVerb::Shot;
            r.window = *n;
            return onlyGet(r);
        }
    }
    return refuse(404, "not_found", "no such path");
}

std::string refusalJson(const ControlRefusal& refusal) {
    return json{{"ok", false}, {"error", refusal.code}, {"message", refusal.message}}.dump(-1, ' ', false,
                                                                                          json::error_handler_t::replace);
}

std::string okJson() { return R"({"ok":true})"; }

}  // namespace corvano
