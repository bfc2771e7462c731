#include "bars/LanguageMenu.h"

#include "app/Application.h"
#include "app/TextFile.h"
#include "platform/CommandBars.h"
#include "bars/LanguageList.h"
#include "bars/MainBars.h"

namespace corvano {

bool addLanguageToMenu(Application& app, const std::string& fileName) {
    CommandBars& bars = app.bars;
    std::vector<std::string>& languages = app.App.languages;
    std::string name;
    if (!languageNameOf(fileName, name) || static_cast<int>(languages.size()) >= kMaxLanguages) return false;
    const std::string key = "LANG:" + textfile::toUpper(name);
    if (bars.entry(key)) return false;
    BarsBatch batch(bars);
    Entry& e = bars.addEntry(key, languageIcon(mainImageList(), name), entrystyle::Option, fileName);
    e.setCaption(properCase(name));
    languages.push_back(name);
    if (Bar* menu = bars.bar("LANG")) {
        if (Entry* next = bars.entry("LANG:NEW"))
            menu->insertBefore(e, *next);
        else
            menu->append(e);
    }
    bars.changed();
    return true;
}

}  // namespace corvano
