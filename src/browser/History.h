#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corvano {

// How many addresses the history file keeps: the newest.
constexpr size_t kHistoryKept = 16;

// The history file: one address a line, oldest first. A missing or unreadable
// file gives no entries; an empty line gives an empty entry.
std::vector<std::string> readHistoryFile(const std::string& path);

// What the file keeps of a history list: the newest 16 entries, chosen before
// the empty ones among them are dropped.
std::vector<std::string> historyToSave(const std::vector<std::string>& entries);

// The text of the file for this list: historyToSave(entries), a line each.
std::string historyFileText(const std::vector<std::string>& entries);

// Writes historyToSave(entries) atomically; false (old file untouched) on failure.
bool saveHistoryFile(const std::string& path, const std::vector<std::string>& entries);

}  // namespace corvano
