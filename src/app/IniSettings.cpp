#include "app/IniSettings.h"

#include "app/Paths.h"
#include "app/TextFile.h"

namespace corvano {

namespace tf = textfile;

namespace {

const char* const kIniFile = "/Data/Corvano.Ini";

std::optional<int16_t> readNumber(const std::string& line) {
    return tf::toInt16(tf::leadingNumber(tf::trimBlanks(line)));
}

}  // namespace

bool isSafeLanguageName(const std::string& name) {
    return name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
           name.find("..") == std::string::npos && name.find('\0') == std::string::npos;
}

void Read_IniSetting(AppState& App) {
    auto fail = [&App] {
        App.browserCount = 0;
        App.language = "english";
        App.barStyle = 1;
    };
    // The real file is under a kilobyte; a huge one is not ours.
    auto data = tf::readAll(appFile(App.appPath, kIniFile), 1u << 20);
    if (!data) return fail();
    const auto lines = tf::splitLines(*data);
    size_t next = 0;
    auto line = [&](std::string& out) {
        if (next >= lines.size()) return false;
        out = lines[next++];
        return true;
    };

    std::string text;
    if (!line(text)) return fail();
    auto count = readNumber(text);
    if (!count) return fail();
    App.browserCount = *count < 0 ? int16_t{0} : *count;

    if (!line(text)) return fail();
    App.language = text.empty() ? "english" : text;
    // A name that reaches outside the folder never forms a path.
    if (!isSafeLanguageName(App.language)) App.language = "english";

    if (!line(text)) return fail();
    auto style = readNumber(text);
    if (!style) return fail();
    App.barStyle = *style;

    for (int n = 1; n <= App.maxBrowsers && n < static_cast<int>(App.browserSlots.size()); ++n) {
        if (!line(text)) return fail();
        auto flag = readNumber(text);
        if (!flag) return fail();
        App.browserSlots[static_cast<size_t>(n)] = *flag;
    }
}

bool Save_IniSetting(const AppState& App) {
    return tf::writeAtomic(iniSettingsPath(App), iniSettingsText(App, App.browserCount));
}

std::string iniSettingsPath(const AppState& App) { return appFile(App.appPath, kIniFile); }

std::string iniSettingsText(const AppState& App, int16_t browserCount) {
    std::vector<std::string> lines;
    lines.push_back(tf::printNumber(static_cast<long long>(browserCount)));
    lines.push_back(App.language);
    lines.push_back(tf::printNumber(static_cast<long long>(App.barStyle)));
    for (int n = 1; n <= App.maxBrowsers && n < static_cast<int>(App.browserSlots.size()); ++n)
        lines.push_back(tf::printNumber(static_cast<long long>(App.browserSlots[static_cast<size_t>(n)])));
    return tf::joinCrlf(lines);
}

}  // namespace corvano
