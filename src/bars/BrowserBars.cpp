#include "bars/BrowserBars.h"

#include <stdexcept>
#include <string_view>

#include "app/StringTable.h"

#include "app/Application.h"
#include "bars/BarBuilding.h"
#include "platform/CommandBars.h"
#include "bars/MainBars.h"

namespace corvano {

ImageList browserImageList() {
    // Index = icon number (0-based). Pictures no entry uses stay empty.
    std::vector<Image> images(119);
    auto theme = [&](int icon, const char* name) { images[static_cast<size_t>(icon)].source = std::string("theme:") + name; };
    theme(0, "applications-internet");
    theme(1, "go-previous");                   // back
    theme(2, "go-next");                       // forward
    theme(3, "go-home");
    theme(4, "view-refresh");                  // refresh
    theme(5, "document-print");                // print
    theme(6, "media-floppy");                  // save menu
    theme(7, "document-edit");                 // edit menu
    theme(8, "bookmarks");
    theme(9, "preferences-system-windows");    // tools
    theme(10, "system-search");                // search menu
    theme(11, "internet-web-browser");         // search engines
    theme(12, "view-web-browser-dom-tree");
    theme(13, "edit-find");                    // search button
    theme(14, "chronometer");                  // refresh interval
    theme(17, "go-jump");                      // go
    theme(26, "text-html");                    // save as HTML
    theme(27, "application-msword");           // Word export
    theme(28, "x-office-document");            // Word export, other layout
    theme(58, "configure");                    // page setup
    theme(59, "document-print-preview");
    theme(60, "document-print");
    theme(61, "edit-cut");
    theme(62, "edit-copy");
    theme(63, "edit-paste");
    theme(64, "edit-find");                    // find in page
    theme(67, "edit-select-all");
    theme(68, "edit-delete");
    theme(69, "view-list-text");               // source view
    theme(75, "preferences-desktop-theme");
    theme(79, "document-properties");
    theme(81, "configure");                    // file menu (wrench)
    theme(86, "applications-internet");
    const std::vector<Image> flags = languageFlagImages();
    for (size_t i = 0; i < flags.size(); ++i) images[106 + i] = flags[i];
    return ImageList(std::move(images));
}

std::string refreshChoiceKey(int seconds) { return "EVERY:" + std::to_string(seconds); }

std::optional<int> refreshChoiceOf(const std::string& key) {
    constexpr std::string_view kPrefix = "EVERY:";
    if (key.size() <= kPrefix.size() || key.size() > kPrefix.size() + 6 || key.compare(0, kPrefix.size(), kPrefix) != 0)
        return std::nullopt;
    int seconds = 0;
    for (size_t i = kPrefix.size(); i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return std::nullopt;
        seconds = seconds * 10 + (key[i] - '0');
    }
    return seconds;
}

std::string refreshChoiceText(const StringTable& texts, int seconds) {
    if (seconds <= 0) return texts[TextId::RefreshNever];
    if (seconds < 60 || seconds % 60 != 0) return std::to_string(seconds) + " " + texts[TextId::Seconds];
    return std::to_string(seconds / 60) + " " + texts[TextId::Minutes];
}

void Build_BrowserButtons(Application& app) {
    CommandBars& bars = app.bars;
    if (bars.entry("BACK")) throw std::logic_error("the browser windows' entries exist already");
    BarsBatch batch(bars);
    using namespace entrystyle;
    auto dropDown = [](Entry& e) { e.setDropDown(true); };
    dropDown(bars.addEntry("FILE", 81, Plain));
    bars.addEntry("BACK", 1, Plain);
    bars.addEntry("NEXT", 2, Plain);
    bars.addEntry("PRINT", 5, Plain);
    bars.addEntry("REFRESH", 4, Plain);
    dropDown(bars.addEntry("EVERY", 14, Plain));
    for (int seconds : kRefreshChoices) bars.addEntry(refreshChoiceKey(seconds), -1, Option);
    bars.addEntry("GOOGLE", 13, Plain);
    dropDown(bars.addEntry("SAVE", 6, Plain));
    dropDown(bars.addEntry("TOOLS", 9, Plain));
    dropDown(bars.addEntry("EDIT", 7, Plain));
    dropDown(bars.addEntry("SEARCH", 10, Plain));
    struct Item {
        const char* key;
        int icon;
        int style;
    };
    static const Item kItems[] = {
        {"EDIT:DELETE", 68, Plain},          {"EDIT:CUT", 61, Plain},
        {"EDIT:COPY", 62, Plain},            {"EDIT:PASTE", 63, Plain},
        {"EDIT:PAGESET", 58, Plain},         {"EDIT:PREVIEW", 59, Plain},
        {"EDIT:PRINT", 60, Plain},           {"EDIT:PROPERTIES", 79, Plain},
        {"EDIT:FINDDOC", 64, Plain},         {"EDIT:FIND:SEPARATOR", -1, Separator},
        {"EDIT:SELECT", 67, Plain},          {"EDIT:SELECT:SEPARATOR", -1, Separator},
        {"EDIT:VIEW:SEPARATOR", -1, Separator}, {"EDIT:VIEW", 69, Plain},
        {"EDIT:EXIT:SEPARATOR", -1, Separator}, {"SEARCH:SEARCH", 10, Plain},
        {"SEARCH:ALTAV", 11, Plain},         {"SEARCH:YAHOO", 12, Plain},
        {"SEARCH:GOOGLE", 13, Plain},        {"SEARCH:LIVE", 75, Plain},
        {"SEARCH:LYGO", 86, Plain},          {"SAVE:HTML", 26, Plain},
        {"SAVE:WORDH", 27, Plain},           {"SAVE:WORDV", 28, Plain},
    };
    for (const Item& item : kItems) bars.addEntry(item.key, item.icon, item.style);
    for (int n = 1; n <= 16; ++n) bars.addEntry("SEP" + std::to_string(n), -1, Separator);
    bars.addEntry("GO", 17, Plain);
    bars.addEntry("NIL2", -1, Numeric).setValue(0);
    bars.addEntry("MOVE2", -1, Numeric).setValue(12);
    int icon = 1;
    for (const char* key : {"ADDURL", "EDITURL", "GOURL", "NEXTGRP", "PREVGRP", "SORT", "SAVE2", "HELP2", "TITLE"})
        bars.addEntry(key, icon++, Plain);
}

void Build_BrowserBars(Application& app) {
    CommandBars& bars = app.bars;
    if (bars.bar("STANDARD0")) throw std::logic_error("the browser windows' bars exist already");
    BarsBatch batch(bars);
    // "LANG" comes from the main window; a missing entry is left out, not fatal.
    Bar& standard0 = bars.addBar("STANDARD0");
    Bar& save = bars.addBar("SAVE");
    Bar& search = bars.addBar("SEARCH");
    bars.addBar("TOOLS");
    Bar& edit = bars.addBar("EDIT");
    appendKeys(bars, standard0, {"BACK", "NEXT", "REFRESH", "EVERY", "PRINT", "EDIT", "SAVE", "SEARCH", "LANG"});
    Bar& every = bars.addBar("EVERY");
    for (int seconds : kRefreshChoices) every.append(bars.at(refreshChoiceKey(seconds)));
    attachMenu(bars, "EVERY", every);
    appendKeys(bars, search,
               {"SEARCH:SEARCH", "SEARCH:ALTAV", "SEARCH:YAHOO", "SEARCH:GOOGLE", "SEARCH:LIVE", "SEARCH:LYGO"});
    attachMenu(bars, "SEARCH", search);
    appendKeys(bars, save, {"SAVE:HTML", "SAVE:WORDH", "SAVE:WORDV"});
    attachMenu(bars, "SAVE", save);
    appendKeys(bars, edit,
               {"EDIT:CUT", "EDIT:COPY", "EDIT:PASTE", "EDIT:DELETE", "EDIT:SELECT", "EDIT:SELECT:SEPARATOR",
                "EDIT:PAGESET", "EDIT:PREVIEW", "EDIT:PRINT", "EDIT:PROPERTIES", "EDIT:FINDDOC",
                "EDIT:VIEW:SEPARATOR", "EDIT:VIEW"});
    attachMenu(bars, "EDIT", edit);
    bars.addBar("STANDARD1");
    appendKeys(bars, bars.addBar("STANDARD2"), {"GO", "SEP6", "GOOGLE"});
    bars.changed();
}

}  // namespace corvano
