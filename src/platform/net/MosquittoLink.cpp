#include "platform/net/MosquittoLink.h"

#include <mosquitto.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace corvano::net {

namespace {

constexpr int keepAliveSeconds = 30;
constexpr int firstRetrySeconds = 1;
constexpr int lastRetrySeconds = 60;
// How long stop() waits for the last state's acknowledgement, then for the
// thread to end: a thread still resolving a name or connecting is left to
// finish on its own.
constexpr auto stopBound = std::chrono::seconds(2);
constexpr auto flushBound = std::chrono::milliseconds(1000);
constexpr int qos = 1;

void initLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

}  // namespace

// libmosquitto's own thread (mosquitto_loop_start) is not used. In 2.0.11 it
// never retries a first connection refused before it started (it waits for
// a state that never comes, waking every 10 ms); it ends for good after a
// failed TLS handshake; it reconnects with blocking calls, so a stop waits for
// the system's connect timeout; and it can sleep through a stop for a whole
// retry delay. This thread connects without blocking and waits between
// attempts where a stop wakes it.
struct MosquittoLink::Core {
    std::function<void(std::function<void()>)> toUiThread;
    std::shared_ptr<bool> delivering;
    MosquittoLink* link = nullptr;
    MqttSettings settings;
    std::vector<std::string> topics;
    mosquitto* mosq = nullptr;

    std::atomic<bool> connected{false};
    std::atomic<bool> stopping{false};
    int failures = 0;      // network thread only
    int subscription = 0;  // its message id, network thread only

    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;
    bool closing = false;           // stop() has begun: acknowledgements are noted
    std::vector<int> acknowledged;  // of the messages published since

    ~Core() {
        if (mosq)
            mosquitto_destroy(mosq);
    }

    void deliver(std::function<void(MosquittoLink&)> call) {
        if (stopping)
            return;
        toUiThread([delivering = delivering, link = link, call = std::move(call)] {
            if (*delivering)
                call(*link);
        });
    }

    void setConnected(bool now) {
        if (connected.exchange(now) == now)
            return;
        deliver([now](MosquittoLink& l) {
            if (l.onConnectionChanged)
                l.onConnectionChanged(now);
        });
    }

    void run();
};

namespace {

MosquittoLink::Core& coreOf(void* userdata) { return *static_cast<MosquittoLink::Core*>(userdata); }

void connected(mosquitto* mosq, void* userdata, int rc) {
    MosquittoLink::Core& core = coreOf(userdata);
    if (rc != 0)
        return;  // refused: the loop sees the connection end and waits to retry
    core.failures = 0;
    // A clean session each time: the broker forgets subscriptions with the
    // connection. Connected is told once they hold, so a message sent after
    // it is not missed.
    std::vector<char*> topics;
    for (std::string& topic : core.topics)
        topics.push_back(topic.data());
    if (topics.empty() || mosquitto_subscribe_multiple(mosq, &core.subscription, static_cast<int>(topics.size()),
                                                       topics.data(), qos, 0, nullptr) != MOSQ_ERR_SUCCESS)
        core.setConnected(true);
}

void subscribed(mosquitto*, void* userdata, int mid, int, const int*) {
    MosquittoLink::Core& core = coreOf(userdata);
    if (mid == core.subscription)
        core.setConnected(true);
}

void disconnected(mosquitto*, void* userdata, int) { coreOf(userdata).setConnected(false); }

void acknowledged(mosquitto*, void* userdata, int mid) {
    MosquittoLink::Core& core = coreOf(userdata);
    std::lock_guard lock(core.mutex);
    if (core.closing) {
        core.acknowledged.push_back(mid);
        core.changed.notify_all();
    }
}

void arrived(mosquitto*, void* userdata, const mosquitto_message* message) {
    std::string topic = message->topic ? message->topic : "";
    std::string payload(static_cast<const char*>(message->payload), static_cast<size_t>(message->payloadlen));
    coreOf(userdata).deliver([topic = std::move(topic), payload = std::move(payload)](MosquittoLink& l) {
        if (l.onMessage)
            l.onMessage(topic, payload);
    });
}

}  // namespace

void MosquittoLink::Core::run() {
    int waitSeconds = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex);
            changed.wait_for(lock, std::chrono::seconds(waitSeconds), [this] { return stopping.load(); });
        }
        if (stopping)
            break;
        // Resolves the name and starts the connection; the handshake runs in the loop below.
        int rc = mosquitto_connect_async(mosq, settings.host.c_str(), settings.port, keepAliveSeconds);
        // Waits in select until something arrives, a publish wakes it, or a keep-alive is due.
        while (rc == MOSQ_ERR_SUCCESS && !stopping)
            rc = mosquitto_loop(mosq, keepAliveSeconds * 1000, 1);
        if (stopping)
            break;
        setConnected(false);
        waitSeconds = std::min(lastRetrySeconds, firstRetrySeconds << std::min(failures, 6));
        ++failures;
    }
    // stop() queued a publish and a disconnect: let them reach the broker, so
    // it drops the will.
    const auto until = std::chrono::steady_clock::now() + flushBound;
    while (connected && mosquitto_socket(mosq) >= 0 && std::chrono::steady_clock::now() < until)
        if (mosquitto_loop(mosq, 100, 1) != MOSQ_ERR_SUCCESS)
            break;
    std::lock_guard lock(mutex);
    finished = true;
    changed.notify_all();
}

MosquittoLink::MosquittoLink(std::function<void(std::function<void()>)> toUiThread)
    : toUiThread_(std::move(toUiThread)), delivering_(std::make_shared<bool>(true)) {}

MosquittoLink::~MosquittoLink() {
    if (core_)
        stop(core_->settings.willPayload);
}

void MosquittoLink::start(const MqttSettings& settings, const std::vector<std::string>& topics) {
    if (core_)
        return;
    initLibraryOnce();
    auto core = std::make_shared<Core>();
    core->toUiThread = toUiThread_;
    core->delivering = delivering_;
    core->link = this;
    core->settings = settings;
    core->topics = topics;
    core->mosq = mosquitto_new(settings.clientId.empty() ? nullptr : settings.clientId.c_str(), true, core.get());
    if (!core->mosq)
        return;
    mosquitto_threaded_set(core->mosq, true);
    // Any setting refused (a CA file that is not there, say) and the link
    // stays down rather than connect without it.
    bool ok = true;
    if (!settings.user.empty())
        ok = ok && mosquitto_username_pw_set(core->mosq, settings.user.c_str(),
                                             settings.password.empty() ? nullptr : settings.password.c_str()) ==
                       MOSQ_ERR_SUCCESS;
    if (!settings.willTopic.empty())
        ok = ok && mosquitto_will_set(core->mosq, settings.willTopic.c_str(), static_cast<int>(settings.willPayload.size()),
                                      settings.willPayload.data(), qos, true) == MOSQ_ERR_SUCCESS;
    if (settings.tls)
        ok = ok && mosquitto_tls_set(core->mosq, settings.caFile.empty() ? nullptr : settings.caFile.c_str(),
                                     settings.caFile.empty() ? "/etc/ssl/certs" : nullptr, nullptr, nullptr,
                                     nullptr) == MOSQ_ERR_SUCCESS;
    if (!ok)
        return;
    mosquitto_connect_callback_set(core->mosq, connected);
    mosquitto_disconnect_callback_set(core->mosq, disconnected);
    mosquitto_message_callback_set(core->mosq, arrived);
    mosquitto_publish_callback_set(core->mosq, acknowledged);
    mosquitto_subscribe_callback_set(core->mosq, subscribed);
    core_ = core;
    thread_ = std::thread([core] { core->run(); });
}

void MosquittoLink::publish(const std::string& topic, const std::string& payload, bool retain) {
    if (!core_ || !core_->connected || core_->stopping)
        return;
    mosquitto_publish(core_->mosq, nullptr, topic.c_str(), static_cast<int>(payload.size()), payload.data(), qos,
                      retain);
}

void MosquittoLink::stop(const std::string& lastPayload) {
    *delivering_ = false;
    if (!core_)
        return;
    std::shared_ptr<Core> core = std::move(core_);
    // The last state is acknowledged before the disconnect goes: a socket
    // closed with the acknowledgement unread is reset, the broker loses the
    // disconnect with it and sends the will after all. The disconnect also
    // wakes the thread from its wait on the socket.
    if (core->connected && !core->settings.willTopic.empty()) {
        {
            std::lock_guard lock(core->mutex);
            core->closing = true;
        }
        int mid = 0;
        if (mosquitto_publish(core->mosq, &mid, core->settings.willTopic.c_str(), static_cast<int>(lastPayload.size()),
                              lastPayload.data(), qos, true) == MOSQ_ERR_SUCCESS) {
            std::unique_lock lock(core->mutex);
            core->changed.wait_for(lock, stopBound, [&] {
                return std::find(core->acknowledged.begin(), core->acknowledged.end(), mid) != core->acknowledged.end();
            });
        }
    }
    mosquitto_disconnect(core->mosq);
    std::unique_lock lock(core->mutex);
    core->stopping = true;
    core->changed.notify_all();
    if (core->changed.wait_for(lock, stopBound, [&] { return core->finished; })) {
        lock.unlock();
        thread_.join();
    } else {
        thread_.detach();  // it holds the core, and frees it when it ends
    }
}

}  // namespace corvano::net
