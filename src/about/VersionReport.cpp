#include "about/VersionReport.h"

#include "about/AboutTexts.h"
#include "app/AppState.h"
#include "app/IniSettings.h"
#include "app/LangFile.h"
#include "app/TextArgs.h"

namespace corvano {

std::string engineLines(const StringTable& t, const EngineVersions& v) {
    std::string out;
    if (!v.qt.empty()) {
        out += "Qt " + v.qt;
        if (!v.webEngine.empty() && v.webEngine != v.qt) out += " (Qt WebEngine " + v.webEngine + ")";
        out += "\n";
    }
    if (!v.chromium.empty()) out += withArgs(t[TextId::EngineChromium], {v.chromium}) + "\n";
    if (!v.securityPatch.empty()) out += withArgs(t[TextId::EngineSecurityPatch], {v.securityPatch}) + "\n";
    return out;
}

std::string versionReport(const StringTable& t, const EngineVersions& v) {
    return versionText("Corvano") + "\n" + engineLines(t, v);
}

StringTable startupTexts(const std::string& appPath, const std::string& shippedPath) {
    AppState App;
    App.appPath = appPath;
    App.shippedPath = shippedPath;
    Read_IniSetting(App);
    if (Read_CFG(App)) return App.strings;
    // Installed and never started: no language file in the user's folder yet.
    App.appPath = shippedPath.empty() ? appPath : shippedPath;
    App.language = "english";
    Read_CFG(App);
    return App.strings;
}

}  // namespace corvano
