#include "platform/CommandBars.h"

#include <stdexcept>

namespace corvano {

Entry::Entry(CommandBars& owner, std::string key, int icon, int style, std::string toolTip)
    : owner_(owner), key_(std::move(key)), icon_(icon), style_(style), toolTip_(std::move(toolTip)) {}

void Entry::setCaption(const std::string& text) {
    caption_ = text;
    owner_.changed();
}

void Entry::setToolTip(const std::string& text) {
    toolTip_ = text;
    owner_.changed();
}

void Entry::setChecked(bool on) {
    if (on && style_ == entrystyle::Option) {
        // Walk every bar that holds this entry: one checked option per bar.
        for (Bar* bar : owner_.barsHolding(*this)) {
            for (Entry* other : bar->entries())
                if (other != this && other->style_ == entrystyle::Option) other->checked_ = false;
        }
    }
    checked_ = on;
    owner_.changed();
}

void Entry::setCaptionOnBar(bool on) {
    captionOnBar_ = on;
    owner_.changed();
}

void Entry::setDropDown(bool on) {
    dropDown_ = on;
    owner_.changed();
}

void Entry::setBar(Bar* bar) {
    bar_ = bar;
    owner_.changed();
}

void Entry::setValue(double value) { value_ = value; }

void Entry::setShortcut(const std::string& text) {
    if (shortcut_ == text) return;
    shortcut_ = text;
    owner_.changed();
}

Entry& CommandBars::addEntry(const std::string& key, int icon, int style, const std::string& toolTip) {
    if (entries_.count(key)) throw std::logic_error("command bar entry exists already: " + key);
    auto& slot = entries_[key];
    slot = std::make_unique<Entry>(*this, key, icon, style, toolTip);
    return *slot;
}

Entry* CommandBars::entry(const std::string& key) const {
    auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : it->second.get();
}

Entry& CommandBars::at(const std::string& key) const {
    Entry* e = entry(key);
    if (!e) throw std::logic_error("no command bar entry " + key);
    return *e;
}

Bar& CommandBars::addBar(const std::string& key) {
    if (bars_.count(key)) throw std::logic_error("command bar exists already: " + key);
    auto& slot = bars_[key];
    slot = std::make_unique<Bar>(key);
    return *slot;
}

Bar* CommandBars::bar(const std::string& key) const {
    auto it = bars_.find(key);
    return it == bars_.end() ? nullptr : it->second.get();
}

std::vector<Bar*> CommandBars::barsHolding(const Entry& entry) const {
    std::vector<Bar*> held;
    for (const auto& [key, bar] : bars_)
        for (const Entry* e : bar->entries())
            if (e == &entry) {
                held.push_back(bar.get());
                break;
            }
    return held;
}

int CommandBars::subscribe(Listener listener) {
    listeners_[nextToken_] = std::move(listener);
    return nextToken_++;
}

void CommandBars::unsubscribe(int token) { listeners_.erase(token); }

void CommandBars::changed() {
    if (batchDepth_ > 0) {
        pending_ = true;
        return;
    }
    // A listener may unsubscribe while we walk: walk a copy.
    auto copy = listeners_;
    for (auto& [token, listener] : copy)
        if (listener) listener();
}

void CommandBars::beginBatch() { ++batchDepth_; }

void CommandBars::endBatch() {
    if (batchDepth_ > 0 && --batchDepth_ == 0 && pending_) {
        pending_ = false;
        changed();
    }
}

CommandBarControl* CommandBars::host() {
    if (!dropDownHost && newInstanceRequest) dropDownHost = newInstanceRequest();
    return dropDownHost;
}

std::vector<const Entry*> CommandBars::allEntries() const {
    std::vector<const Entry*> all;
    for (const auto& [key, e] : entries_) all.push_back(e.get());
    return all;
}

std::vector<const Bar*> CommandBars::allBars() const {
    std::vector<const Bar*> all;
    for (const auto& [key, b] : bars_) all.push_back(b.get());
    return all;
}

}  // namespace corvano
