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
    // The one delivery, taken once; nothing once made or once its owner went.
    // (Each path builds its own optional: moving an empty one around made
    // GCC 14 warn of an uninitialized read.)
    auto take = [pending, alive]() -> std::function<void(std::optional<T>)> {
        if (!alive || !*pending) return {};
        return std::exchange(*pending, {});
    };
    QTimer::singleShot(timeoutMs, owner, [take] {
        if (auto d = take()) d(std::nullopt);
    });
    return [take](T value) {
        if (auto d = take()) d(std::optional<T>(std::move(value)));
    };
}

}  // namespace corvano::qt
