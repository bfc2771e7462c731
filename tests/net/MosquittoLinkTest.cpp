#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <functional>
#include <mutex>
#include <thread>

#include "net/MosquittoBroker.h"
#include "platform/net/MosquittoLink.h"

using namespace corvano;
using corvano::net::MosquittoLink;
using namespace std::chrono_literals;

namespace {

// Stands in for the application's event loop: the link posts here from its
// thread, the test runs what was posted on its own thread while it waits.
class UiQueue {
public:
    std::function<void(std::function<void()>)> poster() {
        return [this](std::function<void()> task) {
            std::lock_guard lock(mutex_);
            tasks_.push_back(std::move(task));
            arrived_.notify_one();
        };
    }
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = 10s) {
        const auto until = std::chrono::steady_clock::now() + bound;
        while (!done()) {
            std::unique_lock lock(mutex_);
            if (!arrived_.wait_until(lock, until, [this] { return !tasks_.empty(); }))
                return done();
            std::function<void()> task = std::move(tasks_.front());
            tasks_.pop_front();
            lock.unlock();
            task();
        }
        return true;
    }

    void drain() {
        std::deque<std::function<void()>> tasks;
        {
            std::lock_guard lock(mutex_);
            tasks.swap(tasks_);
        }
        for (auto& task : tasks)
            task();
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> tasks_;
};

// A link and what it reported, checked to arrive on the test's thread.
struct Client {
    explicit Client(UiQueue& ui) : link(ui.poster()) {
        const auto uiThread = std::this_thread::get_id();
        link.onMessage = [this, uiThread](const std::string& topic, const std::string& payload) {
            EXPECT_EQ(std::this_thread::get_id(), uiThread);
            messages.push_back(topic + "=" + payload);
        };
        link.onConnectionChanged = [this, uiThread](bool now) {
            EXPECT_EQ(std::this_thread::get_id(), uiThread);
            changes.push_back(now);
        };
    }
    void start(int port, std::vector<std::string> topics, std::string willTopic = "") {
        MqttSettings settings;
        settings.host = "127.0.0.1";
        settings.port = port;
        settings.willTopic = std::move(willTopic);
        settings.willPayload = "gone";
        link.start(settings, topics);
    }
    bool connected() const { return !changes.empty() && changes.back(); }
    bool got(const std::string& message) const {
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }

    MosquittoLink link;
    std::vector<std::string> messages;
    std::vector<bool> changes;
};

}  // namespace

TEST(MosquittoLink, DeliversMessagesKeepsRetainedStatesAndEndsWithItsLastState) {
    test::MosquittoBroker broker;
    UiQueue ui;
    Client wall(ui), sender(ui);
    wall.start(broker.port(), {"wall/cmd"}, "wall/status");
    sender.start(broker.port(), {});
    ASSERT_TRUE(ui.runUntil([&] { return wall.connected() && sender.connected(); }));

    sender.link.publish("wall/cmd", "reload", false);
    ASSERT_TRUE(ui.runUntil([&] { return wall.got("wall/cmd=reload"); }));

    // A state published retained reaches a client that subscribes later; the
    // last state given to stop() replaces the will, which the broker drops.
    wall.link.publish("wall/window/3/state", "ok", true);
    wall.link.publish("wall/status", "online", true);
    Client watcher(ui);
    watcher.start(broker.port(), {"wall/window/+/state", "wall/status"});
    ASSERT_TRUE(ui.runUntil([&] { return watcher.got("wall/window/3/state=ok") && watcher.got("wall/status=online"); }));
    wall.link.stop("stopped");
    ASSERT_TRUE(ui.runUntil([&] { return watcher.got("wall/status=stopped"); }));
    // A round trip through the broker, time for a will to show if it were sent.
    watcher.link.publish("wall/status", "probe", false);
    ASSERT_TRUE(ui.runUntil([&] { return watcher.got("wall/status=probe"); }));
    EXPECT_FALSE(watcher.got("wall/status=gone"));
    EXPECT_EQ(wall.changes, std::vector<bool>{true});
}

TEST(MosquittoLink, ConnectsWhenTheBrokerComesAndAgainAfterItRestarts) {
    test::MosquittoBroker broker;
    broker.stop();
    UiQueue ui;
    Client sender(ui);
    auto wall = std::make_unique<Client>(ui);
    // No broker yet: start() returns at once, and the link keeps trying.
    auto before = std::chrono::steady_clock::now();
    wall->start(broker.port(), {"wall/cmd"});
    EXPECT_LT(std::chrono::steady_clock::now() - before, 100ms);
    broker.start();
    ASSERT_TRUE(ui.runUntil([&] { return wall->connected(); }));

    broker.stop();
    ASSERT_TRUE(ui.runUntil([&] { return !wall->connected(); }));
    broker.start();
    ASSERT_TRUE(ui.runUntil([&] { return wall->connected(); }));
    EXPECT_EQ(wall->changes, (std::vector<bool>{true, false, true}));

    // Subscribed again on the new connection.
    sender.start(broker.port(), {});
    ASSERT_TRUE(ui.runUntil([&] { return sender.connected(); }));
    sender.link.publish("wall/cmd", "reload", false);
    ASSERT_TRUE(ui.runUntil([&] { return wall->got("wall/cmd=reload"); }));

    // Ended while the broker is away and the link waits to retry: at once,
    // and what it posted before it went is dropped, not run on a freed object.
    broker.stop();
    ASSERT_TRUE(ui.runUntil([&] { return !wall->connected(); }));
    before = std::chrono::steady_clock::now();
    wall.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
    ui.drain();
}
