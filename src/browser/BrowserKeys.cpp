#include "browser/BrowserKeys.h"

#include "bars/CommandBars.h"
#include "platform/Platform.h"

namespace corvano {

namespace {

constexpr KeyCommand kCommands[] = {
    {Shortcut::Back, 0, "BACK"},         {Shortcut::Forward, 0, "NEXT"},       {Shortcut::Reload, 0, "REFRESH"},
    {Shortcut::Print, 0, "PRINT"},       {Shortcut::Find, 5, "EDIT:FINDDOC"},  {Shortcut::Save, 5, "SAVE:HTML"},
    {Shortcut::ViewSource, 5, "EDIT:VIEW"}, {Shortcut::NewWindow, 3, "NEW"},
};

}  // namespace

const KeyCommand* keyCommand(Shortcut which) {
    for (const KeyCommand& c : kCommands)
        if (c.shortcut == which) return &c;
    return nullptr;
}

void labelShortcuts(CommandBars& bars, const Platform& platform) {
    BarsBatch batch(bars);
    for (const KeyCommand& c : kCommands)
        if (Entry* e = bars.entry(c.key)) e->setShortcut(platform.shortcutText(c.shortcut));
    // The print item of the edit menu runs the same command as the print button.
    if (Entry* e = bars.entry("EDIT:PRINT")) e->setShortcut(platform.shortcutText(Shortcut::Print));
}

}  // namespace corvano
