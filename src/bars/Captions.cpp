#include "bars/Captions.h"

#include "app/Application.h"
#include "bars/BrowserBars.h"
#include "platform/CommandBars.h"

namespace corvano {

namespace {

enum Property { Caption, ToolTip, Both };

struct Row {
    const char* key;
    Property property;
    TextId text;       // caption text, or the tooltip's when only the tooltip is set
    TextId toolTip;    // tooltip text of a row that sets both
    const char* prefix;
};

// Every translated bar text of every window, assigned top to bottom.
const Row kRows[] = {
    {"FILE", ToolTip, TextId::File, TextId{}, ""},
    {"BACK", ToolTip, TextId::Back, TextId{}, ""},
    {"NEXT", ToolTip, TextId::Forward, TextId{}, ""},
    {"PRINT", ToolTip, TextId::Print, TextId{}, ""},
    {"REFRESH", ToolTip, TextId::Refresh, TextId{}, ""},
    {"EVERY", ToolTip, TextId::RefreshEvery, TextId{}, ""},
    {"GOOGLE", ToolTip, TextId::Google, TextId{}, ""},
    {"SAVE", ToolTip, TextId::Save, TextId{}, ""},
    {"EDIT", ToolTip, TextId::Edit, TextId{}, ""},
    {"SEARCH", ToolTip, TextId::Search, TextId{}, ""},
    {"EDIT:CUT", Caption, TextId::Cut, TextId{}, ""},
    {"EDIT:COPY", Caption, TextId::Copy, TextId{}, ""},
    {"EDIT:PASTE", Caption, TextId::Paste, TextId{}, ""},
    {"EDIT:DELETE", Caption, TextId::EditDelete, TextId{}, ""},
    {"EDIT:PAGESET", Caption, TextId::EditPageSetup, TextId{}, ""},
    {"EDIT:PREVIEW", Caption, TextId::EditPrintPreview, TextId{}, ""},
    {"EDIT:PRINT", Caption, TextId::Print, TextId{}, ""},
    {"EDIT:PROPERTIES", Caption, TextId::Properties, TextId{}, ""},
    {"EDIT:FINDDOC", Caption, TextId::FindInPageMenu, TextId{}, ""},
    {"EDIT:SELECT", Caption, TextId::EditSelectAll, TextId{}, ""},
    {"EDIT:VIEW", Caption, TextId::ViewSource, TextId{}, ""},
    {"SEARCH:SEARCH", Caption, TextId::SearchPage, TextId{}, ""},
    {"SEARCH:ALTAV", Caption, TextId::SearchAltaVista, TextId{}, ""},
    {"SEARCH:YAHOO", Caption, TextId::SearchYahoo, TextId{}, ""},
    {"SEARCH:GOOGLE", Caption, TextId::Google, TextId{}, ""},
    {"SEARCH:LIVE", Caption, TextId::SearchLive, TextId{}, ""},
    {"SEARCH:LYGO", Caption, TextId::SearchLygo, TextId{}, ""},
    {"SAVE:HTML", Caption, TextId::SaveAsHtml, TextId{}, ""},
    {"SAVE:WORDH", Caption, TextId::ExportToWord, TextId{}, ""},
    {"SAVE:WORDV", Caption, TextId::ExportToWordLandscape, TextId{}, ""},
    {"GO", ToolTip, TextId::Go, TextId{}, ""},
    {"EXIT", Both, TextId::Exit, TextId::ExitTip, ""},
    {"EXIT2", Both, TextId::Exit, TextId::ExitTip, ""},
    {"NEW", Both, TextId::New, TextId::NewTip, ""},
    {"BRAMBLE", Both, TextId::About, TextId::AboutTip, ""},
    {"SCREENSHOT", Both, TextId::Screenshot, TextId::ScreenshotTip, ""},
    {"LANG", Both, TextId::Language, TextId::LanguageTip, ""},
    {"SHOW", Both, TextId::Show, TextId::ShowTip, ""},
    {"SHOW:30S", Caption, TextId::Seconds, TextId{}, "30 "},
    {"SHOW:1M", Caption, TextId::Minutes, TextId{}, "1 "},
    {"SHOW:5M", Caption, TextId::Minutes, TextId{}, "5 "},
    {"SHOW:10M", Caption, TextId::Minutes, TextId{}, "10 "},
    {"SHOW:30M", Caption, TextId::Minutes, TextId{}, "30 "},
    {"SHOW:0", Caption, TextId::ShowOff, TextId{}, ""},
    {"SHOW:FULL", Caption, TextId::ShowFullScreen, TextId{}, ""},
    {"ARRANGE", Both, TextId::Arrange, TextId::ArrangeTip, ""},
    {"ARRANGE:GRID", Caption, TextId::ArrangeGrid, TextId{}, ""},
    {"ARRANGE:COLUMNS", Caption, TextId::ArrangeColumns, TextId{}, ""},
    {"ARRANGE:ROWS", Caption, TextId::ArrangeRows, TextId{}, ""},
    {"ARRANGE:CASCADE", Caption, TextId::ArrangeCascade, TextId{}, ""},
    {"ARRANGE:EVERY", Caption, TextId::ArrangeEveryScreen, TextId{}, ""},
    {"STYLE", Both, TextId::Style, TextId::StyleTip, ""},
    {"STYLE:SYSTEM", Caption, TextId::StyleSystem, TextId{}, ""},
    {"STYLE:OFFICE", Caption, TextId::StyleOffice, TextId{}, ""},
    {"STYLE:XP", Caption, TextId::StyleXp, TextId{}, ""},
    {"STYLE:MONEY", Caption, TextId::StyleMoney, TextId{}, ""},
    {"LANG:NEW", Caption, TextId::NewLanguage, TextId{}, ""},
    {"NOTE1", Caption, TextId::HideBars, TextId{}, ""},
    {"EXIT3", Caption, TextId::Close, TextId{}, ""},
    {"SAVE3", Caption, TextId::Save, TextId{}, ""},
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
    for (int seconds : kRefreshChoices)
        if (Entry* e = app.bars.entry(refreshChoiceKey(seconds))) e->setCaption(refreshChoiceText(texts, seconds));
    // The platform's own widgets and words first (key names come from its
    // translations), then the window titles and what the windows word with them.
    app.platform.textsChanged();
    const std::vector<Form*> windows = app.openWindows();
    for (Form* f : windows)
        if (!f->unloaded()) f->Form_TextsChanged();
}

}  // namespace corvano
