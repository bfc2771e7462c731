#include "browser/AddressHistory.h"

#include <utility>

#include "browser/History.h"

namespace corvano {

void AddressHistory::assign(std::vector<std::string> entries) {
    if (entries.size() > kKept) entries.erase(entries.begin(), entries.end() - static_cast<std::ptrdiff_t>(kKept));
    entries_ = std::move(entries);
    ++changes_;
    if (onChanged) onChanged();
}

void AddressHistory::add(std::string address) {
    if (entries_.size() >= kKept) entries_.erase(entries_.begin());
    entries_.push_back(std::move(address));
    ++changes_;
    if (onChanged) onChanged();
}

std::string AddressHistory::fileText() const { return historyFileText(entries_); }

}  // namespace corvano
