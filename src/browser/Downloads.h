#pragma once

#include <functional>
#include <string>

namespace corvano {

// A file name from a server or page that is safe to save under: no folder
// part, no characters the file systems refuse, no leading dots (no hidden
// file), not empty, not overlong.
std::string safeDownloadName(const std::string& suggested);

// Where a download is proposed to go: the folder plus the safe name, with
// " (1)", " (2)"... before the extension while that name is taken.
std::string proposeDownloadPath(const std::string& folder, const std::string& suggested,
                                const std::function<bool(const std::string&)>& taken);

}  // namespace corvano
