#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace corvano {

class Bar;
class CommandBars;

// Entry styles.
namespace entrystyle {
constexpr int Plain = 0;
constexpr int Separator = 1;
constexpr int Numeric = 3;
constexpr int Option = 6;
}  // namespace entrystyle

// A button or menu item, shared by every window that places it.
class Entry {
public:
    Entry(CommandBars& owner, std::string key, int icon, int style, std::string toolTip);

    const std::string& key() const { return key_; }
    int icon() const { return icon_; }
    int style() const { return style_; }
    const std::string& caption() const { return caption_; }
    const std::string& toolTip() const { return toolTip_; }
    bool checked() const { return checked_; }
    bool captionOnBar() const { return captionOnBar_; }
    bool dropDown() const { return dropDown_; }
    Bar* bar() const { return bar_; }
    double value() const { return value_; }

    void setCaption(const std::string& text);
    void setToolTip(const std::string& text);
    // An option entry checked unchecks the other option entries of its bars.
    void setChecked(bool on);
    void setCaptionOnBar(bool on);
    void setDropDown(bool on);
    void setBar(Bar* bar);
    void setValue(double value);

    // The key that runs the entry's command too ("Ctrl+S"), in the desktop's
    // words; shown beside its tooltip and menu caption.
    const std::string& shortcut() const { return shortcut_; }
    void setShortcut(const std::string& text);

private:
    CommandBars& owner_;
    std::string key_;
    int icon_;
    int style_;
    std::string caption_;
    std::string toolTip_;
    bool checked_ = false;
    bool captionOnBar_ = false;
    bool dropDown_ = false;
    Bar* bar_ = nullptr;
    double value_ = 0;
    std::string shortcut_;
};

class Bar {
public:
    explicit Bar(std::string key) : key_(std::move(key)) {}
    const std::string& key() const { return key_; }
    const std::vector<Entry*>& entries() const { return entries_; }
    void append(Entry& entry) { entries_.push_back(&entry); }

    // For a language added while the application runs.
    // Puts the entry in front of `before`, or at the end when that is not on the bar.
    void insertBefore(Entry& entry, const Entry& before) {
        auto it = std::find(entries_.begin(), entries_.end(), &before);
        entries_.insert(it, &entry);
    }

private:
    std::string key_;
    std::vector<Entry*> entries_;
};

class CommandBarControl;

// The process-wide entry and bar collections.
class CommandBars {
public:
    CommandBars() = default;
    CommandBars(const CommandBars&) = delete;
    CommandBars& operator=(const CommandBars&) = delete;

    // Throws std::logic_error when the key exists already.
    Entry& addEntry(const std::string& key, int icon, int style, const std::string& toolTip = {});
    Entry* entry(const std::string& key) const;
    // Like entry(), but throws std::logic_error for an unknown key.
    Entry& at(const std::string& key) const;

    Bar& addBar(const std::string& key);
    Bar* bar(const std::string& key) const;

    size_t entryCount() const { return entries_.size(); }
    size_t barCount() const { return bars_.size(); }

    // Controls repaint when any entry changes.
    using Listener = std::function<void()>;
    int subscribe(Listener listener);
    void unsubscribe(int token);
    void changed();
    // Between begin and end, listeners hear of changes once, at the end.
    void beginBatch();
    void endBatch();

    // Bars holding the entry, in key order.
    std::vector<Bar*> barsHolding(const Entry& entry) const;

    // The control that shows every drop-down and receives its clicks (index 5).
    // When none is set, newInstanceRequest is asked for one.
    CommandBarControl* dropDownHost = nullptr;
    std::function<CommandBarControl*()> newInstanceRequest;
    CommandBarControl* host();

    // Every entry and every bar, in key order: for checks over all of them.
    std::vector<const Entry*> allEntries() const;
    std::vector<const Bar*> allBars() const;

private:
    std::map<std::string, std::unique_ptr<Entry>> entries_;
    std::map<std::string, std::unique_ptr<Bar>> bars_;
    std::map<int, Listener> listeners_;
    int nextToken_ = 1;
    int batchDepth_ = 0;
    bool pending_ = false;
};

// Holds the listeners back for a scope: many changes, one repaint.
class BarsBatch {
public:
    explicit BarsBatch(CommandBars& bars) : bars_(bars) { bars_.beginBatch(); }
    ~BarsBatch() { bars_.endBatch(); }
    BarsBatch(const BarsBatch&) = delete;
    BarsBatch& operator=(const BarsBatch&) = delete;

private:
    CommandBars& bars_;
};

}  // namespace corvano
