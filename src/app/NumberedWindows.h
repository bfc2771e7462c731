#pragma once

#include <map>
#include <vector>

namespace corvano {

// The open windows of one kind under their numbers: the one place they are
// found, listed and taken off. It owns none of them.
template <class W>
class NumberedWindows {
public:
    void add(int number, W& window) { byNumber_[number] = &window; }
    // Only the window that holds the number gives it up: a window that is
    // still closing never takes a newer window's place off.
    void remove(int number, const W& window) {
        auto it = byNumber_.find(number);
        if (it != byNumber_.end() && it->second == &window) byNumber_.erase(it);
    }
    W* find(int number) const {
        auto it = byNumber_.find(number);
        return it == byNumber_.end() ? nullptr : it->second;
    }
    // In number order.
    std::vector<W*> inOrder() const {
        std::vector<W*> all;
        for (const auto& [number, window] : byNumber_) all.push_back(window);
        return all;
    }
    bool empty() const { return byNumber_.empty(); }
    size_t size() const { return byNumber_.size(); }

private:
    std::map<int, W*> byNumber_;
};

}  // namespace corvano
