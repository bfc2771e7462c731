#include "platform/qt/QtEngineVersions.h"

#include <QtGlobal>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

namespace corvano::qt {

EngineVersions engineVersions() {
    auto text = [](const char* s) { return s ? std::string(s) : std::string(); };
    return {text(qVersion()), text(qWebEngineVersion()), text(qWebEngineChromiumVersion()),
            text(qWebEngineChromiumSecurityPatchVersion())};
}

}  // namespace corvano::qt
