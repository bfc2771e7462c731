#include "browser/BrowserKeys.h"

#include "bars/CommandBars.h"
#include "platform/Platform.h"

namespace corvano {

namespace {

constexpr KeyCommand kCommands[] = {
    {Shortcut::Back, 0, Command::Back},
    {Shortcut::Forward, 0, Command::Forward},
    {Shortcut::Reload, 0, Command::Refresh},
    {Shortcut::Print, 0, Command::Print},
    {Shortcut::Find, 5, Command::FindInPage},
    {Shortcut::Save, 5, Command::SaveHtml},
    {Shortcut::ViewSource, 5, Command::ViewSource},
    {Shortcut::NewWindow, 3, Command::New},
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
        if (Entry* e = bars.entry(commandKey(c.command))) e->setShortcut(platform.shortcutText(c.shortcut));
    // The print item of the edit menu runs the same command as the print button.
    if (Entry* e = bars.entry(commandKey(Command::PrintPage))) e->setShortcut(platform.shortcutText(Shortcut::Print));
}

}  // namespace corvano
