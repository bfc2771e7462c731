#include "browser/BrowserKeys.h"

#include <utility>

#include "platform/CommandBars.h"
#include "platform/Platform.h"

namespace corvano {

namespace {

// Keys with a bar entry run the entry's command, so both always do the same.
constexpr std::pair<Shortcut, const char*> kCommands[] = {
    {Shortcut::Back, "BACK"},
    {Shortcut::Forward, "NEXT"},
    {Shortcut::Reload, "REFRESH"},
    {Shortcut::Print, "PRINT"},
    {Shortcut::Find, "EDIT:FINDDOC"},
    {Shortcut::Save, "SAVE:HTML"},
    {Shortcut::ViewSource, "EDIT:VIEW"},
    {Shortcut::NewWindow, "NEW"},
    {Shortcut::FocusAddress, "PAGE:ADDRESS"},
    {Shortcut::FindNext, "PAGE:FINDNEXT"},
    {Shortcut::FindPrevious, "PAGE:FINDPREVIOUS"},
    {Shortcut::ReloadBypassingCache, "PAGE:RELOADHARD"},
    {Shortcut::Stop, "PAGE:STOP"},
    {Shortcut::CloseWindow, "PAGE:CLOSE"},
    {Shortcut::ZoomIn, "PAGE:ZOOMIN"},
    {Shortcut::ZoomOut, "PAGE:ZOOMOUT"},
    {Shortcut::ZoomReset, "PAGE:ZOOMRESET"},
    {Shortcut::FullScreen, "PAGE:FULLSCREEN"},
    {Shortcut::ToggleBars, "PAGE:BARS"},
};

}  // namespace

const char* keyCommandName(Shortcut which) {
    for (const auto& [shortcut, name] : kCommands)
        if (shortcut == which) return name;
    return "";
}

void labelShortcuts(CommandBars& bars, const Platform& platform) {
    BarsBatch batch(bars);
    for (const auto& [shortcut, name] : kCommands)
        if (Entry* e = bars.entry(name)) e->setShortcut(platform.shortcutText(shortcut));
    // The print item of the edit menu runs the same command as the print button.
    if (Entry* e = bars.entry("EDIT:PRINT")) e->setShortcut(platform.shortcutText(Shortcut::Print));
}

}  // namespace corvano
