#pragma once

#include <string>

namespace corvano {

// The versions of what Corvano runs on, as the system's libraries report
// them at run time; empty where a library does not tell.
struct EngineVersions {
    std::string qt;         // Qt's own libraries
    std::string webEngine;  // the web engine module (may differ from Qt's)
    std::string chromium;   // the Chromium the engine is built on
    std::string securityPatch;  // the Chromium whose security fixes it carries
};

}  // namespace corvano
