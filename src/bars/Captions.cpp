#include "bars/Captions.h"

#include "app/Application.h"
#include "bars/CommandBars.h"

namespace corvano {

namespace {

enum Property { Caption, ToolTip, Both };

struct Row {
    const char* key;
    Property property;
    int text;          // caption text, or the tooltip's when only the tooltip is set
    int toolTip;       // tooltip text of a row that sets both
    const char* prefix;
};

// Every translated bar text of every window, assigned top to bottom.
const Row kRows[] = {
    {"FILE", ToolTip, 131, 0, ""},
    {"BACK", ToolTip, 123, 0, ""},
    {"NEXT", ToolTip, 124, 0, ""},
    {"PRINT", ToolTip, 43, 0, ""},
    {"REFRESH", ToolTip, 126, 0, ""},
    {"GOOGLE", ToolTip, 154, 0, ""},
    {"SAVE", ToolTip, 128, 0, ""},
    {"EDIT", ToolTip, 129, 0, ""},
    {"SEARCH", ToolTip, 132, 0, ""},
    {"EDIT:CUT", Caption, 157, 0, ""},
    {"EDIT:COPY", Caption, 158, 0, ""},
    {"EDIT:PASTE", Caption, 159, 0, ""},
    {"EDIT:DELETE", Caption, 18, 0, ""},
    {"EDIT:PAGESET", Caption, 41, 0, ""},
    {"EDIT:PREVIEW", Caption, 42, 0, ""},
    {"EDIT:PRINT", Caption, 43, 0, ""},
    {"EDIT:PROPERTIES", Caption, 177, 0, ""},
    {"EDIT:FINDDOC", Caption, 166, 0, ""},
    {"EDIT:SELECT", Caption, 23, 0, ""},
    {"EDIT:VIEW", Caption, 35, 0, ""},
    {"SEARCH:SEARCH", Caption, 151, 0, ""},
    {"SEARCH:ALTAV", Caption, 152, 0, ""},
    {"SEARCH:YAHOO", Caption, 153, 0, ""},
    {"SEARCH:GOOGLE", Caption, 154, 0, ""},
    {"SEARCH:LIVE", Caption, 88, 0, ""},
    {"SEARCH:LYGO", Caption, 92, 0, ""},
    {"SAVE:HTML", Caption, 145, 0, ""},
    {"SAVE:WORDH", Caption, 146, 0, ""},
    {"SAVE:WORDV", Caption, 147, 0, ""},
    {"GO", ToolTip, 136, 0, ""},
    {"EXIT", Both, 212, 213, ""},
    {"EXIT2", Both, 212, 213, ""},
    {"NEW", Both, 210, 211, ""},
    {"BRAMBLE", Both, 214, 215, ""},
    {"SCREENSHOT", Both, 216, 217, ""},
    {"LANG", Both, 218, 219, ""},
    {"SHOW", Both, 220, 221, ""},
    {"SHOW:30S", Caption, 222, 0, "30 "},
    {"SHOW:1M", Caption, 223, 0, "1 "},
    {"SHOW:5M", Caption, 223, 0, "5 "},
    {"SHOW:10M", Caption, 223, 0, "10 "},
    {"SHOW:30M", Caption, 223, 0, "30 "},
    {"SHOW:0", Caption, 224, 0, ""},
    {"STYLE", Both, 225, 226, ""},
    {"STYLE:SYSTEM", Caption, 180, 0, ""},
    {"STYLE:OFFICE", Caption, 172, 0, ""},
    {"STYLE:XP", Caption, 173, 0, ""},
    {"STYLE:MONEY", Caption, 174, 0, ""},
    {"LANG:NEW", Caption, 227, 0, ""},
    {"NOTE1", Caption, 230, 0, ""},
    {"EXIT3", Caption, 228, 0, ""},
    {"SAVE3", Caption, 128, 0, ""},
};

}  // namespace

void Set_Captions(Application& app) {
    const StringTable& texts = app.App.strings;
    // One repaint for the whole language, not one per row.
    BarsBatch batch(app.bars);
    for (const Row& row : kRows) {
        // An entry whose window has not built its bars yet gets its text later.
        Entry* e = app.bars.entry(row.key);
        if (!e) continue;
        if (row.property == ToolTip) {
            e->setToolTip(texts[row.text]);
            continue;
        }
        e->setCaption(row.prefix + texts[row.text]);
        if (row.property == Both) e->setToolTip(texts[row.toolTip]);
    }
    // The platform's own widgets and words first (key names come from its
    // translations), then the window titles and what the windows word with them.
    app.platform.textsChanged();
    const std::vector<Form*> windows = app.openWindows();
    for (Form* f : windows)
        if (!f->unloaded()) f->Form_TextsChanged();
}

}  // namespace corvano
