#pragma once

#include <string>

namespace corvano {

// Every file lives in the application folder: the path plus a fixed text.
inline std::string appFile(const std::string& appPath, const std::string& rel) { return appPath + rel; }

// Deletes a file, ignoring every failure (a missing file is normal).
void deleteQuietly(const std::string& path);
// Creates a folder, ignoring every failure (it may exist already).
void createFolderQuietly(const std::string& path);
bool fileExists(const std::string& path);

// A file of the folder whose name equals `name` ignoring letter case (the
// exact name first); empty when there is none.
std::string findIgnoringCase(const std::string& folder, const std::string& name);

}  // namespace corvano
