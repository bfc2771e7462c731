#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/WebView.h"

namespace corvano {

// An address whose path names a login or sign-in page ("/login",
// "/users/sign_in", "/Account/Login.aspx").
bool namesLogin(const std::string& url);

// The rule: a window that had its own page and now shows a password field, or
// one a redirect sent on to a login address, needs someone to log in; a page
// shown without either ends it.
class LoginState {
public:
    // A load succeeded: the address asked for, the one shown, and whether the
    // page has a password field.
    void pageShown(const std::string& asked, const std::string& shown, bool passwordField);
    bool required() const { return required_; }

private:
    bool hadPage_ = false;
    bool required_ = false;
};

// Watches a window's page for the rule above: looks for a password field
// when a load ends and once more a little later (forms that scripts draw).
class LoginWatch {
public:
    static constexpr int kLateFormMs = 3000;

    LoginWatch(Platform& platform, WebView& web, std::function<void()> changed);
    ~LoginWatch();
    LoginWatch(const LoginWatch&) = delete;
    LoginWatch& operator=(const LoginWatch&) = delete;

    // A load starts from this address: the engine reports a redirected
    // load's end under the address it ended on.
    void loadStarted(const std::string& url) { asked_ = url; }
    void loadEnded(const LoadEnd& end);
    bool loginRequired() const { return state_.required(); }

private:
    void look(const std::string& asked, bool late);

    WebView& web_;
    std::function<void()> changed_;
    LoginState state_;
    std::string asked_;
    std::unique_ptr<Timer> late_;
    std::string lateAsked_;
    // Tells an answer of an earlier look from the current one's.
    unsigned looks_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace corvano
