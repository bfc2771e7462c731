#include "browser/LoginWatch.h"

#include <utility>

#include "app/TextFile.h"

namespace corvano {

namespace {

// The path of an address, without scheme, host, query or fragment.
std::string pathOf(const std::string& url) {
    size_t from = url.find("://");
    from = from == std::string::npos ? 0 : url.find('/', from + 3);
    if (from == std::string::npos) return "/";
    const size_t end = url.find_first_of("?#", from);
    return url.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

bool namesLogin(const std::string& url) {
    static const char* const kWords[] = {"login", "log-in", "log_in", "logon", "signin", "sign-in", "sign_in"};
    const std::string path = textfile::toLower(pathOf(url));
    size_t from = 0;
    while (from < path.size()) {
        size_t end = path.find('/', from);
        if (end == std::string::npos) end = path.size();
        const std::string segment = path.substr(from, end - from);
        // The word alone or followed by an extension or a mark: "login",
        // "login.php", "sign_in"; not "blogin" or "logins".
        for (const char* w : kWords) {
            const std::string word = w;
            if (segment.rfind(word, 0) == 0 && (segment.size() == word.size() || !isLetter(segment[word.size()])))
                return true;
        }
        from = end + 1;
    }
    return false;
}

void LoginState::pageShown(const std::string& asked, const std::string& shown, bool passwordField) {
    const bool sentToLogin = shown != asked && namesLogin(shown);
    if (!passwordField && !sentToLogin) {
        hadPage_ = true;
        required_ = false;
        return;
    }
    // A window's very first page may carry a password field of its own.
    if (hadPage_ || sentToLogin) required_ = true;
}

LoginWatch::LoginWatch(Platform& platform, WebView& web, std::function<void()> changed)
    : web_(web), changed_(std::move(changed)), late_(platform.createTimer()) {
    late_->setInterval(kLateFormMs);
    late_->onTick = [this] {
        late_->setEnabled(false);
        look(lateAsked_, true);
    };
}

LoginWatch::~LoginWatch() {
    *alive_ = false;
    late_->onTick = nullptr;
}

void LoginWatch::loadEnded(const LoadEnd& end) {
    ++looks_;
    late_->setEnabled(false);
    if (end.kind != LoadEnd::Loaded) return;
    look(asked_.empty() ? end.url : asked_, false);
    asked_.clear();
}

void LoginWatch::look(const std::string& asked, bool late) {
    web_.passwordFieldShown([this, alive = alive_, asked, late, look = looks_](bool field) {
        if (!*alive || look != looks_) return;
        const bool before = state_.required();
        // The late look only adds a form a script drew; the load's own look decided the rest.
        if (!late || field) state_.pageShown(asked, web_.LocationURL(), field);
        if (!late && !state_.required()) {
            lateAsked_ = asked;
            late_->setEnabled(true);
        }
        if (state_.required() != before && changed_) changed_();
    });
}

}  // namespace corvano
