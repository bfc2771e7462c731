#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/WebView.h"

namespace corvano::test {

// Runs the event loop until the condition holds or the time is up.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

// The answer an asynchronous call gives its continuation, waited for;
// nothing when none came in time.
template <class T>
std::optional<T> awaitAnswer(const std::function<void(std::function<void(T)>)>& ask, int timeoutMs = 10000) {
    auto got = std::make_shared<std::optional<T>>();
    ask([got](T value) { *got = std::move(value); });
    waitUntil([&] { return got->has_value(); }, timeoutMs);
    return *got;
}

// The page's document, read as the engine answers.
inline std::optional<std::string> readyStateOf(WebView& web) {
    using A = std::optional<std::string>;
    return awaitAnswer<A>([&web](std::function<void(A)> done) { web.readyState(done); }).value_or(std::nullopt);
}
inline std::optional<std::string> outerHtmlOf(WebView& web) {
    using A = std::optional<std::string>;
    return awaitAnswer<A>([&web](std::function<void(A)> done) { web.outerHtml(done); }).value_or(std::nullopt);
}
inline bool copyTextOf(WebView& web) {
    return awaitAnswer<bool>([&web](std::function<void(bool)> done) { web.copyTextToClipboard(done); }).value_or(false);
}

}  // namespace corvano::test
