#include "bars/MainBars.h"

#include <stdexcept>

#include "app/Application.h"
#include "app/TextFile.h"
#include "bars/BarBuilding.h"
#include "platform/CommandBars.h"
#include "bars/LanguageList.h"

namespace corvano {

namespace {

// The flags the language entries use, as images 30 to 42 of the main list.
const Image kFlags[] = {
    {"pea", "res:peace"}, {"it", "flag:it"},  {"en", "flag:gb"},  {"uk", "flag:gb"},  {"us", "flag:us"},
    {"fr", "flag:fr"},    {"ger", "flag:de"}, {"esp", "flag:es"}, {"por", "flag:pt"}, {"rus", "flag:ru"},
    {"nl", "flag:nl"},    {"bel", "flag:be"}, {"can", "flag:ca"},
};

}  // namespace

std::vector<Image> languageFlagImages() { return {std::begin(kFlags), std::end(kFlags)}; }

ImageList mainImageList() {
    // Index = icon number (0-based). Pictures no entry uses stay empty.
    std::vector<Image> images(51);
    auto theme = [&](int icon, const char* name) { images[static_cast<size_t>(icon)].source = std::string("theme:") + name; };
    theme(0, "applications-internet");         // globe: new browser
    theme(1, "system-shutdown");               // power switch: exit
    theme(2, "go-previous");
    theme(3, "go-next");
    theme(4, "view-refresh");
    theme(5, "document-print");
    theme(6, "media-floppy");
    theme(7, "document-edit");
    theme(8, "system-search");
    theme(9, "preferences-system-windows");
    theme(10, "applications-office");          // window with a toolbar: Office style
    theme(11, "view-grid");                    // arrangements
    theme(12, "view-split-left-right");        // columns
    theme(13, "view-split-top-bottom");        // rows
    theme(14, "document-multiple");            // cascade
    theme(16, "view-fullscreen");              // full screen in show modes
    theme(17, "view-multiple-objects");        // a grid on every screen
    theme(15, "user-identity");                // portrait: about
    theme(18, "camera-photo");                 // screenshot
    theme(27, "x-office-document");
    theme(28, "flag-blue");                    // languages
    for (size_t i = 0; i < std::size(kFlags); ++i) images[29 + i] = kFlags[i];
    theme(42, "view-presentation");            // framed pictures: show modes
    theme(43, "chronometer");                  // clock: show periods
    theme(44, "chronometer-reset");            // clock, stop: show off
    theme(45, "preferences-desktop-color");    // rainbow: bar styles
    theme(46, "preferences-desktop-theme");    // XP style
    theme(47, "kde");                          // Money style
    theme(48, "preferences-system-windows");   // plain window: System style
    theme(49, "flag-red");                     // new language
    theme(50, "dialog-information");           // hide the bars
    return ImageList(std::move(images));
}

void Build_MainButtons(Application& app) {
    CommandBars& bars = app.bars;
    // Every key can be added once per process; refuse before adding anything.
    if (bars.entry("NEW")) throw std::logic_error("the main window's entries exist already");
    BarsBatch batch(bars);
    using namespace entrystyle;
    auto withCaption = [](Entry& e) { e.setCaptionOnBar(true); };
    auto dropDown = [](Entry& e) {
        e.setCaptionOnBar(true);
        e.setDropDown(true);
    };
    withCaption(bars.addEntry("NEW", 0, Plain));
    withCaption(bars.addEntry("EXIT", 1, Plain));
    withCaption(bars.addEntry("EXIT2", 1, Plain));
    withCaption(bars.addEntry("BRAMBLE", 15, Plain));
    dropDown(bars.addEntry("SHOW", 42, Plain));
    withCaption(bars.addEntry("SCREENSHOT", 18, Plain));
    dropDown(bars.addEntry("LANG", 28, Plain));
    bars.addEntry("SHOW:0", 44, Plain);
    for (const char* key : {"SHOW:30S", "SHOW:1M", "SHOW:5M", "SHOW:10M", "SHOW:30M"}) bars.addEntry(key, 43, Plain);
    dropDown(bars.addEntry("STYLE", 45, Plain));
    bars.addEntry("STYLE:OFFICE", 10, Option);
    bars.addEntry("STYLE:XP", 46, Option);
    bars.addEntry("STYLE:MONEY", 47, Option);
    bars.addEntry("STYLE:SYSTEM", 48, Option);
    withCaption(bars.addEntry("NOTE1", 50, Plain));
    bars.addEntry("SHOW:FULL", 16, Option);
    dropDown(bars.addEntry("ARRANGE", 11, Plain));
    bars.addEntry("ARRANGE:GRID", 11, Plain);
    bars.addEntry("ARRANGE:COLUMNS", 12, Plain);
    bars.addEntry("ARRANGE:ROWS", 13, Plain);
    bars.addEntry("ARRANGE:CASCADE", 14, Plain);
    bars.addEntry("ARRANGE:EVERY", 17, Plain);

    // One option entry per language file.
    const ImageList images = mainImageList();
    std::vector<std::string>& languages = app.App.languages;
    languages.clear();
    for (const std::string& file : languageFileNames(app.App.appPath)) {
        if (static_cast<int>(languages.size()) >= kMaxLanguages) break;
        std::string name;
        if (!languageNameOf(file, name)) continue;
        const std::string key = "LANG:" + textfile::toUpper(name);
        // Two files giving one key: the first found stands for both.
        if (bars.entry(key)) continue;
        Entry& e = bars.addEntry(key, languageIcon(images, name), Option, file);
        e.setCaption(properCase(name));
        languages.push_back(name);
    }

    bars.addEntry("LANG:NEW", 49, Plain);
    for (int n = 1; n <= 13; ++n)
        if (n != 12) bars.addEntry("SEP0" + std::to_string(n), -1, Separator);
    bars.addEntry("SEP014", -1, Separator);
    bars.addEntry("SEP015", -1, Separator);
}

void Build_MainBars(Application& app) {
    CommandBars& bars = app.bars;
    if (bars.bar("STANDARD3")) throw std::logic_error("the main window's bars exist already");
    BarsBatch batch(bars);
    Bar& standard3 = bars.addBar("STANDARD3");
    Bar& show = bars.addBar("SHOW");
    Bar& style = bars.addBar("STYLE");
    Bar& lang = bars.addBar("LANG");
    Bar& arrange = bars.addBar("ARRANGE");
    appendKeys(bars, standard3, {"EXIT", "SEP01", "NEW", "SEP02", "SCREENSHOT", "SEP07", "STYLE", "SEP011", "LANG",
                                 "SEP08", "SHOW", "SEP014", "ARRANGE", "SEP010", "NOTE1", "SEP013"});
    appendKeys(bars, show,
               {"SHOW:0", "SHOW:30S", "SHOW:1M", "SHOW:5M", "SHOW:10M", "SHOW:30M", "SEP015", "SHOW:FULL"});
    attachMenu(bars, "SHOW", show);
    appendKeys(bars, arrange, {"ARRANGE:GRID", "ARRANGE:COLUMNS", "ARRANGE:ROWS", "ARRANGE:CASCADE", "ARRANGE:EVERY"});
    attachMenu(bars, "ARRANGE", arrange);
    appendKeys(bars, style, {"STYLE:SYSTEM", "STYLE:OFFICE", "STYLE:XP", "STYLE:MONEY"});
    attachMenu(bars, "STYLE", style);
    for (const std::string& name : app.App.languages)
        if (Entry* e = bars.entry("LANG:" + textfile::toUpper(name))) lang.append(*e);
    appendKeys(bars, lang, {"LANG:NEW"});
    attachMenu(bars, "LANG", lang);
    appendKeys(bars, bars.addBar("STANDARD4"), {"SEP03", "BRAMBLE", "SEP04", "EXIT2"});
    bars.changed();
}

}  // namespace corvano
