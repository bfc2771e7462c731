#include "browser/PageCare.h"

#include <algorithm>

namespace corvano {

namespace {

constexpr int kFirstRetryMs = 5000;
constexpr int kLongestRetryMs = 60000;

// A one-shot start of a timer.
void startOnce(Timer& t, long long ms) {
    t.setEnabled(false);
    t.setInterval(static_cast<int>(std::clamp<long long>(ms, 0, 0x7fffffff)));
    t.setEnabled(true);
}

}  // namespace

int refreshFromFile(int seconds) { return seconds < kRefreshMin || seconds > kRefreshMax ? 0 : seconds; }

bool worthRetrying(const LoadEnd& end) {
    return end.kind == LoadEnd::Unreachable || (end.kind == LoadEnd::HttpError && end.httpStatus >= 500);
}

int retryDelayMs(int failures) {
    long long ms = kFirstRetryMs;
    for (int i = 1; i < failures && ms < kLongestRetryMs; ++i) ms *= 2;
    return static_cast<int>(std::min<long long>(ms, kLongestRetryMs));
}

bool inUse(const WindowUse& use, long long nowMs) {
    const bool typing = use.keyboardFocus && use.lastInputMs >= 0 && nowMs - use.lastInputMs < kRecentInputMs;
    return typing || use.dialogOpen || use.downloadsOpen || use.findBarShown || use.sourceShown;
}

PageCare::PageCare(Platform& platform, Window window)
    : platform_(platform),
      window_(std::move(window)),
      retry_(platform.createTimer()),
      recover_(platform.createTimer()),
      refreshTimer_(platform.createTimer()) {
    retry_->onTick = [this] { retryNow(); };
    recover_->onTick = [this] {
        recover_->setEnabled(false);
        if (window_.reload) window_.reload();
    };
    refreshTimer_->onTick = [this] { refreshTick(); };
}

PageCare::~PageCare() {
    retry_->onTick = nullptr;
    recover_->onTick = nullptr;
    refreshTimer_->onTick = nullptr;
}

bool PageCare::waiting() const { return retry_->enabled(); }

void PageCare::stopRetry() {
    const bool was = waiting();
    retry_->setEnabled(false);
    nextTry_ = -1;
    if (was && window_.waitingChanged) window_.waitingChanged();
}

void PageCare::loadStarted() {
    // A load we did not start while a retry waits: the user (or the page)
    // went elsewhere, and that address is what counts now.
    if (!waiting()) return;
    failures_ = 0;
    stopRetry();
}

PageHealth PageCare::health() const {
    return PageHealth{failure_, failureStatus_, failingSince_, lastLoaded_, nextTry_};
}

void PageCare::setFailure(PageFailure failure, int status) {
    if (failure == failure_ && status == failureStatus_) return;
    // A failure that turns into another is still the same bad spell.
    if (failure == PageFailure::None) failingSince_ = -1;
    else if (failure_ == PageFailure::None) failingSince_ = platform_.clockMs();
    failure_ = failure;
    failureStatus_ = status;
    if (window_.healthChanged) window_.healthChanged();
}

void PageCare::loadEnded(const LoadEnd& end) {
    if (end.kind == LoadEnd::Loaded) {
        failures_ = 0;
        gaveUp_ = false;
        lastLoaded_ = platform_.clockMs();
        stopRetry();
        scheduleRefresh();
        setFailure(PageFailure::None);
        return;
    }
    if (end.kind == LoadEnd::Stopped) return;
    setFailure(end.kind == LoadEnd::Unreachable ? PageFailure::Unreachable
               : end.kind == LoadEnd::HttpError ? PageFailure::HttpStatus
                                                : PageFailure::Failed,
               end.kind == LoadEnd::HttpError ? end.httpStatus : 0);
    if (!worthRetrying(end)) {
        failures_ = 0;
        stopRetry();
        return;
    }
    if (!end.url.empty()) retryUrl_ = end.url;
    ++failures_;
    const int wait = retryDelayMs(failures_);
    nextTry_ = platform_.clockMs() + wait;
    startOnce(*retry_, wait);
    if (window_.waitingChanged) window_.waitingChanged();
}

void PageCare::retryNow() {
    retry_->setEnabled(false);
    nextTry_ = -1;
    if (window_.waitingChanged) window_.waitingChanged();
    if (window_.load && !retryUrl_.empty()) window_.load(retryUrl_);
}

void PageCare::rendererGone() {
    const long long now = platform_.clockMs();
    while (!crashes_.empty() && now - crashes_.front() >= kCrashWindowMs) crashes_.pop_front();
    crashes_.push_back(now);
    stopRetry();
    if (static_cast<int>(crashes_.size()) >= kCrashesToGiveUp) {
        gaveUp_ = true;
        setFailure(PageFailure::CrashLoopStopped);
        recover_->setEnabled(false);
        if (window_.crashPanel) window_.crashPanel();
        return;
    }
    setFailure(PageFailure::Crashed);
    startOnce(*recover_, kRecoverMs);
}

void PageCare::cancel() {
    failures_ = 0;
    stopRetry();
    recover_->setEnabled(false);
}

void PageCare::networkBack() {
    if (waiting()) retryNow();
}

void PageCare::setRefresh(int seconds) {
    refresh_ = refreshFromFile(seconds);
    refreshDue_ = false;
    scheduleRefresh();
}

void PageCare::scheduleRefresh() {
    refreshTimer_->setEnabled(false);
    refreshDue_ = false;
    if (refresh_ <= 0) return;
    const long long now = platform_.clockMs();
    // A page never loaded well counts from now.
    const long long from = lastLoaded_ >= 0 ? lastLoaded_ : now;
    startOnce(*refreshTimer_, std::max(0LL, from + refresh_ * 1000LL - now));
}

void PageCare::refreshTick() {
    refreshTimer_->setEnabled(false);
    if (refresh_ <= 0) return;
    // A failed or crashed page is looked after by its own rules.
    if (waiting() || recover_->enabled() || gaveUp_) return scheduleRefresh();
    if (window_.use && inUse(window_.use(), platform_.clockMs())) {
        refreshDue_ = true;
        return startOnce(*refreshTimer_, kUsePollMs);
    }
    refreshDue_ = false;
    // Should the load never end, the next one still comes.
    startOnce(*refreshTimer_, refresh_ * 1000LL);
    if (window_.reload) window_.reload();
}

void PageCare::turnComing(int inMs) {
    if (refresh_ <= 0 || refreshDue_) return;
    const long long now = platform_.clockMs();
    const long long age = lastLoaded_ >= 0 ? now + inMs - lastLoaded_ : refresh_ * 1000LL + 1;
    if (age > refresh_ * 1000LL) refreshTick();
}

}  // namespace corvano
