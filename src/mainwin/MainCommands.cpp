#include "mainwin/MainCommands.h"

#include <utility>

#include "app/Application.h"
#include "bars/Commands.h"
#include "browser/PageCommands.h"
#include "mainwin/frmMain.h"

namespace corvano {

namespace {

using Run = void (*)(frmMain&, const CommandCall&);

struct WallCommand {
    Command command;
    int bar;  // the bar control whose clicks run it
    Run run;
};

constexpr WallCommand kCommands[] = {
    {Command::New, 3, [](frmMain& m, const CommandCall&) { m.newWindow(); }},
    {Command::Exit, 3, [](frmMain& m, const CommandCall&) { m.GO_MainExit(); }},
    {Command::Screenshot, 3, [](frmMain& m, const CommandCall&) { m.Take_Pic(); }},
    {Command::HideBars, 3, [](frmMain& m, const CommandCall&) { m.hideBars(); }},
    {Command::Exit2, 4, [](frmMain& m, const CommandCall&) { m.GO_MainExit(); }},
    {Command::About, 4, [](frmMain& m, const CommandCall&) { m.showAbout(); }},
    {Command::StyleSystem, 5, [](frmMain& m, const CommandCall&) { m.applyStyle(Command::StyleSystem); }},
    {Command::StyleOffice, 5, [](frmMain& m, const CommandCall&) { m.applyStyle(Command::StyleOffice); }},
    {Command::StyleXp, 5, [](frmMain& m, const CommandCall&) { m.applyStyle(Command::StyleXp); }},
    {Command::StyleMoney, 5, [](frmMain& m, const CommandCall&) { m.applyStyle(Command::StyleMoney); }},
    {Command::ShowOff, 5, [](frmMain& m, const CommandCall&) { m.showOff(); }},
    {Command::Show30s, 5, [](frmMain& m, const CommandCall&) { m.showEvery(0); }},
    {Command::Show1m, 5, [](frmMain& m, const CommandCall&) { m.showEvery(2); }},
    {Command::Show5m, 5, [](frmMain& m, const CommandCall&) { m.showEvery(10); }},
    {Command::Show10m, 5, [](frmMain& m, const CommandCall&) { m.showEvery(20); }},
    {Command::Show30m, 5, [](frmMain& m, const CommandCall&) { m.showEvery(60); }},
    {Command::NewLanguage, 5, [](frmMain& m, const CommandCall&) { m.showLanguageEditor(); }},
    {Command::ShowFullScreen, 5, [](frmMain& m, const CommandCall&) { m.toggleSlideshow(); }},
    {Command::ArrangeGrid, 5, [](frmMain& m, const CommandCall&) { m.arrange(Command::ArrangeGrid); }},
    {Command::ArrangeColumns, 5, [](frmMain& m, const CommandCall&) { m.arrange(Command::ArrangeColumns); }},
    {Command::ArrangeRows, 5, [](frmMain& m, const CommandCall&) { m.arrange(Command::ArrangeRows); }},
    {Command::ArrangeCascade, 5, [](frmMain& m, const CommandCall&) { m.arrange(Command::ArrangeCascade); }},
    {Command::ArrangeEveryScreen, 5, [](frmMain& m, const CommandCall&) { m.arrange(Command::ArrangeEveryScreen); }},
};

}  // namespace

void registerWallCommands(Application& app) {
    auto add = [&app](std::string name, int bar, CommandArg arg, std::function<void(frmMain&, const CommandCall&)> run) {
        app.commands.add({std::move(name), CommandTarget::Wall, arg, bar, [&app, run](const CommandCall& call) {
                              frmMain* main = mainForm(app);
                              if (main) run(*main, call);
                          }});
    };
    for (const WallCommand& c : kCommands) add(commandKey(c.command), c.bar, CommandArg::None, c.run);
    // A new window on an address, for callers from outside.
    add("OPEN", -1, CommandArg::Address,
        [&app](frmMain&, const CommandCall& call) { openBrowserWindow(app, call.address); });
    add("SHOW:EVERY", -1, CommandArg::Number, [](frmMain& m, const CommandCall& c) { m.showEverySeconds(c.number); });
    add("SHOW:NEXT", -1, CommandArg::None, [](frmMain& m, const CommandCall&) { m.showNext(); });
}

}  // namespace corvano
