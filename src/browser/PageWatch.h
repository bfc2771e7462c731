#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/StringTable.h"
#include "browser/PageCare.h"

namespace corvano {

// A window's page over time: its care (retries, crashes, refreshes) and the
// waits for a load to end, both driven by the page's own load events.
class PageWatch {
public:
    PageWatch(Platform& platform, WebView& web, PageCare::Window window);
    ~PageWatch();
    PageWatch(const PageWatch&) = delete;
    PageWatch& operator=(const PageWatch&) = delete;

    PageCare& care() { return *care_; }
    const PageCare& care() const { return *care_; }
    void loadStarted() { care_->loadStarted(); }
    void loadEnded(const LoadEnd& end);

    // Answers once the page has loaded: true when its document is complete;
    // false when `limitMs` passed first or when there is no document. One
    // wait at a time: a new one ends the earlier with false. Returns at once.
    void attend(std::function<void(bool)> done, int limitMs);

    // What the caption says while a retry waits; empty when none does.
    std::string waitingText(const StringTable& texts) const;

private:
    void checkReady();
    void finish(bool loaded);
    Platform& platform_;
    WebView& web_;
    std::unique_ptr<PageCare> care_;
    std::string lastLoadedText_;
    std::unique_ptr<Timer> bound_;
    std::function<void(bool)> done_;
    // Tells an answer of an earlier wait from the current one's.
    unsigned waits_ = 0;
};

}  // namespace corvano
