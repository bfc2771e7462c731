#pragma once

#include <string>

#include "app/StringTable.h"
#include "platform/EngineVersions.h"

namespace corvano {

// The lines on the engine, each ending in a newline: Qt's version (with the
// web engine module's when it differs), then the Chromium the engine is
// built on and the one whose security fixes it carries. A version the
// platform did not give leaves its line out.
std::string engineLines(const StringTable& t, const EngineVersions& v);

// What `corvano --version` prints: "Corvano X.Y.Z", then the engine's lines.
std::string versionReport(const StringTable& t, const EngineVersions& v);

// The texts of the language last chosen in the application folder, English
// where it lacks any: for what Corvano says before it opens a window.
StringTable startupTexts(const std::string& appPath, const std::string& shippedPath);

}  // namespace corvano
