#include "bars/Commands.h"

#include <utility>

namespace corvano {

namespace {

constexpr std::pair<Command, const char*> kKeys[] = {
    {Command::New, "NEW"},
    {Command::Exit, "EXIT"},
    {Command::Exit2, "EXIT2"},
    {Command::Screenshot, "SCREENSHOT"},
    {Command::HideBars, "NOTE1"},
    {Command::About, "BRAMBLE"},
    {Command::Back, "BACK"},
    {Command::Forward, "NEXT"},
    {Command::Refresh, "REFRESH"},
    {Command::Print, "PRINT"},
    {Command::Go, "GO"},
    {Command::Google, "GOOGLE"},
    {Command::SearchPage, "SEARCH:SEARCH"},
    {Command::SearchAltaVista, "SEARCH:ALTAV"},
    {Command::SearchYahoo, "SEARCH:YAHOO"},
    {Command::SearchGoogle, "SEARCH:GOOGLE"},
    {Command::SearchLive, "SEARCH:LIVE"},
    {Command::SearchLygo, "SEARCH:LYGO"},
    {Command::PageSetup, "EDIT:PAGESET"},
    {Command::PrintPreview, "EDIT:PREVIEW"},
    {Command::PrintPage, "EDIT:PRINT"},
    {Command::Properties, "EDIT:PROPERTIES"},
    {Command::Cut, "EDIT:CUT"},
    {Command::Copy, "EDIT:COPY"},
    {Command::Paste, "EDIT:PASTE"},
    {Command::SelectAll, "EDIT:SELECT"},
    {Command::Delete, "EDIT:DELETE"},
    {Command::FindInPage, "EDIT:FINDDOC"},
    {Command::ViewSource, "EDIT:VIEW"},
    {Command::SaveHtml, "SAVE:HTML"},
    {Command::SaveWordPortrait, "SAVE:WORDH"},
    {Command::SaveWordLandscape, "SAVE:WORDV"},
    {Command::StyleSystem, "STYLE:SYSTEM"},
    {Command::StyleOffice, "STYLE:OFFICE"},
    {Command::StyleXp, "STYLE:XP"},
    {Command::StyleMoney, "STYLE:MONEY"},
    {Command::ShowOff, "SHOW:0"},
    {Command::Show30s, "SHOW:30S"},
    {Command::Show1m, "SHOW:1M"},
    {Command::Show5m, "SHOW:5M"},
    {Command::Show10m, "SHOW:10M"},
    {Command::Show30m, "SHOW:30M"},
    {Command::NewLanguage, "LANG:NEW"},
    {Command::ShowFullScreen, "SHOW:FULL"},
    {Command::ArrangeGrid, "ARRANGE:GRID"},
    {Command::ArrangeColumns, "ARRANGE:COLUMNS"},
    {Command::ArrangeRows, "ARRANGE:ROWS"},
    {Command::ArrangeCascade, "ARRANGE:CASCADE"},
    {Command::ArrangeEveryScreen, "ARRANGE:EVERY"},
    {Command::EditorSave, "SAVE3"},
    {Command::EditorExit, "EXIT3"},
};

}  // namespace

std::optional<Command> commandOf(std::string_view key) {
    // Keys are compared exactly: "new" is no command.
    for (const auto& [command, k] : kKeys)
        if (key == k) return command;
    return std::nullopt;
}

const char* commandKey(Command command) {
    for (const auto& [c, k] : kKeys)
        if (c == command) return k;
    return "";
}

}  // namespace corvano
