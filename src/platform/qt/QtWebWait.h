#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace corvano::qt {

// How long a document read waits for the engine's answer.
constexpr int kWebAnswerMs = 5000;

// The engine answers later, or sometimes never (a renderer that died). Gives
// the function that takes the answer: `deliver` then runs once, with the
// answer or, when the time is up first, with nothing. Once `owner` has gone
// nothing is delivered at all.
template <class T>
std::function<void(T)> answerWithin(QObject* owner, int timeoutMs, std::function<void(std::optional<T>)> deliver) {
    auto pending = std::make_shared<std::function<void(std::optional<T>)>>(std::move(deliver));
    QPointer<QObject> alive(owner);
    auto finish = [pending, alive](std::optional<T> value) {
        if (!alive || !*pending) return;
        auto d = std::exchange(*pending, {});
        d(std::move(value));
    };
    QTimer::singleShot(timeoutMs, owner, [finish] { finish(std::nullopt); });
    return [finish](T value) { finish(std::move(value)); };
}

}  // namespace corvano::qt
