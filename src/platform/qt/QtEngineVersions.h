#pragma once

#include "platform/EngineVersions.h"

namespace corvano::qt {

// Needs no application object and no display.
EngineVersions engineVersions();

}  // namespace corvano::qt
