#pragma once

#include <set>
#include <string>
#include <vector>

namespace corvano {

// A window's web profile is named in its options file; the empty name is the
// profile every window shares (its files under Data/WebProfile). A named one
// keeps its cookies, storage and cache under Data/Profiles/NAME.
constexpr size_t kProfileNameMax = 32;

// Letters and digits (ASCII), '-' and '_', 1 to 32 of them: a name is only
// ever a folder's name, never a path.
bool validProfileName(const std::string& name);

// Where a named profile keeps its files; empty for the shared profile or a
// name that is not valid.
std::string profileFolder(const std::string& appPath, const std::string& name);

// The named profiles that have files, sorted; folders with other names are
// not profiles and are left alone.
std::vector<std::string> profilesOnDisk(const std::string& appPath);

// Every name the profile menu lists: those on disk and those open windows use.
std::vector<std::string> profilesKnown(const std::string& appPath, const std::set<std::string>& inUse);

// Deletes a named profile's files; false when the name is not valid or
// something stayed.
bool removeProfileFiles(const std::string& appPath, const std::string& name);

}  // namespace corvano
