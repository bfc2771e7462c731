#pragma once

#include <array>
#include <string>

namespace corvano {

// Texts 1..300 of the current language; entry 0 and unfilled ones are empty.
class StringTable {
public:
    static constexpr int kSize = 300;

    const std::string& operator[](int n) const {
        static const std::string empty;
        return n >= 1 && n <= kSize ? texts_[static_cast<size_t>(n)] : empty;
    }
    void set(int n, std::string text) {
        if (n >= 1 && n <= kSize) texts_[static_cast<size_t>(n)] = std::move(text);
    }
    void clear() { texts_.fill({}); }

private:
    std::array<std::string, kSize + 1> texts_{};
};

}  // namespace corvano
