#pragma once

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace corvano::qt {

// How long a document read waits for the engine's answer.
constexpr int kWebAnswerMs = 5000;

// Asks the engine and runs the event loop until it answers, the time is up or
// `guard` is destroyed. `ask` receives the function that delivers the answer;
// an answer that comes after the wait ended is dropped.
template <class T>
std::optional<T> waitForAnswer(QObject* guard, const std::function<void(std::function<void(T)>)>& ask,
                               int timeoutMs = kWebAnswerMs) {
    if (!guard) return std::nullopt;
    auto answer = std::make_shared<std::optional<T>>();
    QEventLoop loop;
    QPointer<QEventLoop> alive(&loop);
    QObject::connect(guard, &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    ask([answer, alive](T value) {
        *answer = std::move(value);
        if (alive) alive->quit();
    });
    if (!answer->has_value()) loop.exec();
    return *answer;
}

}  // namespace corvano::qt
