#include "app/Application.h"

#include <algorithm>

namespace corvano {

Application::Application(Platform& p, std::string appPath) : platform(p) {
    App.appPath = std::move(appPath);
    platform.setTexts([this](int n) { return App.strings.byNumber(n); });
    commands.currentWindow = [this] { return browsers.find(App.currentBrowser) ? int{App.currentBrowser} : 0; };
    commands.windowOpen = [this](int number) { return browsers.find(number) != nullptr; };
}

Application::~Application() {
    platform.setTexts(nullptr);
    // Windows go before the bar collections they show.
    dying_.clear();
    while (!owned_.empty()) owned_.pop_back();
}

void Application::formUnloaded(Form& form) {
    open_.erase(std::remove(open_.begin(), open_.end(), &form), open_.end());
    auto it = std::find_if(owned_.begin(), owned_.end(), [&](const auto& p) { return p.get() == &form; });
    if (it != owned_.end()) {
        dying_.push_back(std::move(*it));
        owned_.erase(it);
    }
    // The form may still be running a handler: release it afterwards.
    platform.post([this] { dying_.clear(); });
    if (open_.empty()) platform.quit();
}

}  // namespace corvano
