#pragma once

#include <array>
#include <string>

#include "platform/TextId.h"

namespace corvano {

// Texts 1..kSize of the current language; entry 0 and unfilled ones are empty.
class StringTable {
public:
    static constexpr int kSize = 600;
    // The texts up to here are the original set; later numbers were added
    // since, so a language file written before them falls back to English.
    static constexpr int kOriginalLast = 230;

    const std::string& operator[](TextId id) const { return byNumber(textNumber(id)); }
    // By line number: for whoever reads or fills the table as a whole.
    const std::string& byNumber(int n) const {
        static const std::string empty;
        return n >= 1 && n <= kSize ? texts_[static_cast<size_t>(n)] : empty;
    }
    void set(TextId id, std::string text) { set(textNumber(id), std::move(text)); }
    void set(int n, std::string text) {
        if (n >= 1 && n <= kSize) texts_[static_cast<size_t>(n)] = std::move(text);
    }
    void clear() { texts_.fill({}); }

    // Fills the later numbers this table leaves empty from another table.
    void fillLaterFrom(const StringTable& other) {
        for (int n = kOriginalLast + 1; n <= kSize; ++n) {
            auto& t = texts_[static_cast<size_t>(n)];
            if (t.empty()) t = other.byNumber(n);
        }
    }

private:
    std::array<std::string, kSize + 1> texts_{};
};

}  // namespace corvano
