#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/WebPrompts.h"

namespace corvano {

// The user's answers to the sites' requests, kept for this run only: each
// site is asked once for each thing it wants, whichever window it is in.
class SiteAnswers {
public:
    std::optional<bool> find(const std::string& site, WebPermission what) const {
        auto it = answers_.find({site, what});
        if (it == answers_.end()) return std::nullopt;
        return it->second;
    }
    void remember(const std::string& site, WebPermission what, bool allowed) { answers_[{site, what}] = allowed; }

private:
    std::map<std::pair<std::string, WebPermission>, bool> answers_;
};

}  // namespace corvano
