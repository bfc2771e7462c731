#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/SaveFailures.h"
#include "platform/Platform.h"

namespace corvano {

// What one file of the session should hold at this moment.
struct FileText {
    std::string path;
    std::string text;
};

// Keeps the session's files current while the application runs, so that a
// kill, a crash or a lost display loses at most the last seconds. Once a
// second it asks what every file should hold and writes, atomically, only
// the files whose text differs from what they hold; so a file is written at
// most once a second and never while nothing changed. A file that cannot be
// written keeps its old content, is tried again when its text changes again,
// and is reported once, until a write of it succeeds again.
class SessionFiles {
public:
    static constexpr int kPeriodMs = 1000;
    using Snapshot = std::function<std::vector<FileText>()>;
    // Told, after the pass, of the files that failed for the first time.
    using Report = std::function<void(const std::vector<std::string>& paths)>;

    SessionFiles(Platform& platform, SaveFailures& failures, Snapshot snapshot, Report report);
    ~SessionFiles();
    SessionFiles(const SessionFiles&) = delete;
    SessionFiles& operator=(const SessionFiles&) = delete;

    void start();
    // No run-time write from here on (the exit writes the files itself).
    void stop();
    bool running() const;

    // One pass: writes every file whose text changed.
    void writeChanged();

    // Writes counted since the start, for the checks of the coalescing.
    int writes() const { return writes_; }
    // The longest pass so far, in microseconds, for the stall measurements.
    long long longestPassUs() const { return longestPassUs_; }
    int passes() const { return passes_; }

private:
    Platform& platform_;
    SaveFailures& failures_;
    Snapshot snapshot_;
    Report report_;
    std::unique_ptr<Timer> timer_;
    // What each file holds as far as we know (nothing: no readable file).
    std::map<std::string, std::optional<std::string>> onDisk_;
    // The text whose write failed last; tried again only once it changes.
    std::map<std::string, std::string> refused_;
    bool busy_ = false;
    int writes_ = 0;
    long long longestPassUs_ = 0;
    int passes_ = 0;
};

}  // namespace corvano
