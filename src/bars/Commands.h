#pragma once

#include <optional>
#include <string_view>

namespace corvano {

// The fixed commands the bars' entries run, one per command key. The
// language entries ("LANG:" and a language file's name) are data, not
// commands: they are not here.
enum class Command {
    // The main window's bars.
    New,         // "NEW"
    Exit,        // "EXIT"
    Exit2,       // "EXIT2", the corner bar's
    Screenshot,  // "SCREENSHOT"
    HideBars,    // "NOTE1"
    About,       // "BRAMBLE"
    // A browser window's own bars.
    Back,     // "BACK"
    Forward,  // "NEXT"
    Refresh,  // "REFRESH"
    Print,    // "PRINT"
    Go,       // "GO"
    Google,   // "GOOGLE"
    // The drop-downs' commands on the browser window activated last.
    SearchPage,
    SearchAltaVista,
    SearchYahoo,
    SearchGoogle,
    SearchLive,
    SearchLygo,
    PageSetup,
    PrintPreview,
    PrintPage,  // "EDIT:PRINT"
    Properties,
    Cut,
    Copy,
    Paste,
    SelectAll,
    Delete,
    FindInPage,
    ViewSource,
    SaveHtml,
    SaveWordPortrait,   // "SAVE:WORDH"
    SaveWordLandscape,  // "SAVE:WORDV"
    // The main window's drop-downs.
    StyleSystem,
    StyleOffice,
    StyleXp,
    StyleMoney,
    ShowOff,
    Show30s,
    Show1m,
    Show5m,
    Show10m,
    Show30m,
    NewLanguage,  // "LANG:NEW"
    ShowFullScreen,      // "SHOW:FULL": the show modes raise each window full screen
    ArrangeGrid,         // "ARRANGE:GRID"
    ArrangeColumns,
    ArrangeRows,
    ArrangeCascade,
    ArrangeEveryScreen,  // "ARRANGE:EVERY"
    // The language editor's bar.
    EditorSave,  // "SAVE3"
    EditorExit,  // "EXIT3"
};

// The command a key names; none for any other key (a language entry's, a
// separator's, a drop-down's own).
std::optional<Command> commandOf(std::string_view key);
// The key of the entry that runs the command.
const char* commandKey(Command command);

}  // namespace corvano
