#include "app/LangFile.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "app/IniSettings.h"
#include "app/Paths.h"
#include "app/TextFile.h"

namespace corvano {

namespace tf = textfile;

std::string languageFilePath(const AppState& App) {
    const std::string language = isSafeLanguageName(App.language) ? App.language : "english";
    const std::string name = "Lang_" + language + ".txt";
    const std::string exact = appFile(App.appPath, "/" + name);
    if (fileExists(exact)) return exact;
    std::error_code ec;
    const std::string wanted = tf::toLower(name);
    for (std::filesystem::directory_iterator it(App.appPath, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string found = it->path().filename().string();
        if (tf::toLower(found) == wanted && it->is_regular_file(ec)) return it->path().string();
    }
    // The menu names a file by the text up to its first ".": "Lang_pt.old.Txt"
    // stands for "pt" too. The first such name, in the menu's order.
    const std::string stem = tf::toLower("Lang_" + language + ".");
    std::vector<std::string> named;
    ec.clear();
    for (std::filesystem::directory_iterator it(App.appPath, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string found = it->path().filename().string();
        std::error_code typeEc;
        if (tf::toLower(found).rfind(stem, 0) == 0 && it->is_regular_file(typeEc)) named.push_back(found);
    }
    if (named.empty()) return exact;
    std::sort(named.begin(), named.end(), [](const std::string& a, const std::string& b) {
        const std::string ua = tf::toUpper(a), ub = tf::toUpper(b);
        return ua != ub ? ua < ub : a < b;
    });
    return appFile(App.appPath, "/" + named.front());
}

void Read_CFG_Text(AppState& App, const std::string& bytes) {
    App.strings.clear();
    int counter = 0;
    for (const std::string& raw : tf::splitLines(tf::toUtf8(bytes))) {
        const std::string line = tf::trimBlanks(raw);
        if (line.empty() || line[0] == '[') continue;
        if (line[0] == '"') {
            ++counter;
            // The first and the last character go, whatever the last one is;
            // a character, not a byte, so a UTF-8 text is never cut in half.
            size_t last = line.size() - 1;
            while (last > 1 && (static_cast<unsigned char>(line[last]) & 0xC0) == 0x80) --last;
            std::string text = last >= 1 ? line.substr(1, last - 1) : std::string();
            // Further text lines beyond the table are ignored.
            if (counter <= StringTable::kSize) App.strings.set(counter, std::move(text));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = tf::toUpper(line.substr(0, eq));
        const std::string value = line.substr(eq + 1);
        if (key == "NEW_BROWSER_URL") {
            App.newBrowserUrl = value;
        } else if (key == "LOCK_ADVERTISING") {
            App.lockAdvertising = (!value.empty() && (value[0] == 'N' || value[0] == 'n')) ? 0 : 1;
        }
    }
}

bool Read_CFG(AppState& App) {
    auto data = tf::readAll(languageFilePath(App));
    if (!data) return false;
    Read_CFG_Text(App, *data);
    // A file from before the later texts shows them in English, not empty:
    // the shipped English one, which is as new as the program.
    AppState english;
    english.appPath = App.shippedPath.empty() ? App.appPath : App.shippedPath;
    english.language = "english";
    const std::string englishPath = languageFilePath(english);
    if (englishPath != languageFilePath(App)) {
        if (auto en = tf::readAll(englishPath)) {
            Read_CFG_Text(english, *en);
            App.strings.fillLaterFrom(english.strings);
        }
    }
    return true;
}

}  // namespace corvano
