#include "browser/PageWatch.h"

#include <utility>

#include "app/TextArgs.h"
#include "app/TextFile.h"

namespace corvano {

PageWatch::PageWatch(Platform& platform, WebView& web, PageCare::Window window)
    : platform_(platform), web_(web), care_(std::make_unique<PageCare>(platform, std::move(window))) {
    bound_ = platform.createTimer();
    bound_->onTick = [this] { finish(false); };
}

PageWatch::~PageWatch() {
    bound_->onTick = nullptr;
    done_ = nullptr;
}

void PageWatch::loadEnded(const LoadEnd& end) {
    if (end.kind == LoadEnd::Loaded) lastLoadedText_ = platform_.timeOfDay(platform_.clockMs());
    care_->loadEnded(end);
    if (done_) checkReady();
}

void PageWatch::attend(std::function<void(bool)> done, int limitMs) {
    finish(false);
    done_ = std::move(done);
    ++waits_;
    bound_->setInterval(limitMs);
    bound_->setEnabled(true);
    // A load under way ends with a load event; else the document may be there already.
    if (!web_.Busy()) checkReady();
}

void PageWatch::checkReady() {
    web_.readyState([this, wait = waits_](std::optional<std::string> state) {
        if (wait != waits_ || !done_) return;
        if (!state) return finish(false);
        if (textfile::toLower(*state) == "complete") return finish(true);
        // Still loading: the load's end comes as an event, within the bound.
    });
}

void PageWatch::finish(bool loaded) {
    bound_->setEnabled(false);
    if (auto done = std::exchange(done_, {})) done(loaded);
}

std::string PageWatch::waitingText(const StringTable& texts) const {
    if (!care_->waiting()) return {};
    const std::string last = lastLoadedText_.empty() ? texts[TextId::NotLoadedYet] : lastLoadedText_;
    return withArgs(texts[TextId::WaitingToRetry], {platform_.timeOfDay(care_->nextTryMs()), last});
}

}  // namespace corvano
