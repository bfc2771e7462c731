#include "app/TextArgs.h"

#include <vector>

namespace corvano {

std::string withArgs(const std::string& text, std::initializer_list<std::string> values) {
    const std::vector<std::string> v(values);
    std::string out;
    // A language file that lacks the text: the values at least, not an empty message.
    if (text.empty()) {
        for (const auto& value : v) out += (out.empty() ? "" : " ") + value;
        return out;
    }
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const size_t n = static_cast<size_t>(text[i + 1] - '1');
            if (n < v.size()) {
                out += v[n];
                ++i;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace corvano
