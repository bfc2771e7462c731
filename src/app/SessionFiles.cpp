#include "app/SessionFiles.h"

#include "app/TextFile.h"

#include <algorithm>
#include <chrono>

namespace corvano {

namespace tf = textfile;

namespace {
// Larger files are not ours: they are replaced at the first pass.
constexpr size_t kLargestKnown = 1u << 20;
}  // namespace

SessionFiles::SessionFiles(Platform& platform, SaveFailures& failures, Snapshot snapshot, Report report)
    : platform_(platform), failures_(failures), snapshot_(std::move(snapshot)), report_(std::move(report)) {
    timer_ = platform_.createTimer();
    timer_->setInterval(kPeriodMs);
    timer_->onTick = [this] { writeChanged(); };
}

SessionFiles::~SessionFiles() { timer_->onTick = nullptr; }

void SessionFiles::start() { timer_->setEnabled(true); }
void SessionFiles::stop() { timer_->setEnabled(false); }
bool SessionFiles::running() const { return timer_->enabled(); }

void SessionFiles::writeChanged() {
    if (busy_ || !running()) return;
    busy_ = true;
    const auto began = std::chrono::steady_clock::now();
    std::vector<FileText> files = snapshot_();
    std::vector<std::string> failed;
    std::map<std::string, std::optional<std::string>> seen;
    for (FileText& f : files) {
        auto known = onDisk_.find(f.path);
        // A file met for the first time is compared with what it holds.
        std::optional<std::string> current =
            known != onDisk_.end() ? std::move(known->second) : tf::readAll(f.path, kLargestKnown);
        auto refused = refused_.find(f.path);
        const bool same = current && *current == f.text;
        const bool triedAlready = refused != refused_.end() && refused->second == f.text;
        if (!same && !triedAlready) {
            ++writes_;
            // Not forced to the disk: waiting for it would stall the user
            // interface, and the page cache outlives a killed process.
            if (tf::writeAtomic(f.path, f.text, false)) {
                current = f.text;
                refused_.erase(f.path);
                failures_.saved(f.path);
            } else {
                refused_[f.path] = f.text;
                failed.push_back(f.path);
            }
        }
        seen[f.path] = std::move(current);
    }
    // Files no longer in the session (a closed window) are forgotten: a later
    // window with the same number starts from what is on disk then.
    onDisk_ = std::move(seen);
    std::erase_if(refused_, [this](const auto& e) { return !onDisk_.count(e.first); });
    busy_ = false;
    ++passes_;
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - began);
    longestPassUs_ = std::max<long long>(longestPassUs_, took.count());
    const std::vector<std::string> newlyFailed = failures_.untold(failed);
    // The message may wait for the user: show it after the pass, outside it.
    if (!newlyFailed.empty() && report_)
        platform_.post([report = report_, newlyFailed] { report(newlyFailed); });
}

}  // namespace corvano
