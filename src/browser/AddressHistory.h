#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "browser/History.h"

namespace corvano {

// A browser window's address history: the newest addresses it was sent to,
// oldest first, as its address box lists them and its history file keeps
// them. Each change raises a counter, so a reader sees at once whether the
// list changed since it last looked.
class AddressHistory {
public:
    // As many as the history file keeps.
    static constexpr size_t kKept = kHistoryKept;

    // Takes the newest kKept of these entries, in order (the history file's lines).
    void assign(std::vector<std::string> entries);
    // Appends an address; the oldest goes once there are more than kKept.
    void add(std::string address);

    const std::vector<std::string>& entries() const { return entries_; }
    uint64_t changes() const { return changes_; }
    // What the history file holds for this list.
    std::string fileText() const;

    // Told after every change (the address box's list follows it).
    std::function<void()> onChanged;

private:
    std::vector<std::string> entries_;
    uint64_t changes_ = 0;
};

}  // namespace corvano
