#pragma once

#include <set>
#include <string>
#include <vector>

namespace corvano {

// The files the user has been told could not be saved: each is told once,
// not at every retry, until a write of it succeeds again.
class SaveFailures {
public:
    // The paths among these the user has not been told of yet; from now on
    // they count as told.
    std::vector<std::string> untold(const std::vector<std::string>& failed);
    void saved(const std::string& path) { told_.erase(path); }

    // Nobody is there to answer a message (the desktop is ending the session).
    bool quiet = false;

private:
    std::set<std::string> told_;
};

// Text kSaveFailedText (run time) or kExitSaveFailedText (exit), then one path a line.
std::string saveFailureMessage(const std::string& lead, const std::vector<std::string>& paths);

}  // namespace corvano
