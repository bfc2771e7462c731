#include "browser/PageCommands.h"

#include "app/Application.h"
#include "bars/BrowserBars.h"
#include "browser/ProductUrls.h"
#include "browser/frmStart.h"

namespace corvano {

namespace {

void search(frmStart& target, const char* url) {
    target.Web().Navigate(url);
    target.Text1().setText(url);
}

// A command the page cannot perform simply has no effect.
void exec(frmStart& target, int command) { target.Web().ExecWB(command, olecmd::OptDoDefault); }

void findInPage(frmStart& target) {
    // While the window shows its source, finding searches the source.
    if (target.txtSource().visible()) return target.txtSource().showFindBar();
    target.Web().setFocus();
    target.Web().showFindBar();
}

void saveAsWord(Application& app, frmStart& target, bool landscape) {
    app.App.wordLayout = landscape;
    target.SaveAsW();
}

using Run = void (*)(Application&, frmStart&);

struct PageHandler {
    Command command;
    Run run;
};

constexpr PageHandler kHandlers[] = {
    {Command::SearchPage, [](Application&, frmStart& t) { t.Web().GoSearch(); }},
    {Command::SearchAltaVista, [](Application&, frmStart& t) { search(t, urls::kAltaVista); }},
    {Command::SearchYahoo, [](Application&, frmStart& t) { search(t, urls::kYahoo); }},
    {Command::SearchGoogle, [](Application&, frmStart& t) { search(t, urls::kGoogle); }},
    {Command::SearchLive, [](Application&, frmStart& t) { search(t, urls::kLive); }},
    {Command::SearchLygo, [](Application&, frmStart& t) { search(t, urls::kLygo); }},
    {Command::PageSetup, [](Application&, frmStart& t) { exec(t, olecmd::PageSetup); }},
    {Command::PrintPreview, [](Application&, frmStart& t) { exec(t, olecmd::PrintPreview); }},
    {Command::PrintPage, [](Application&, frmStart& t) { exec(t, olecmd::Print); }},
    {Command::Properties, [](Application&, frmStart& t) { exec(t, olecmd::Properties); }},
    {Command::Cut, [](Application&, frmStart& t) { exec(t, olecmd::Cut); }},
    {Command::Copy, [](Application&, frmStart& t) { exec(t, olecmd::Copy); }},
    {Command::Paste, [](Application&, frmStart& t) { exec(t, olecmd::Paste); }},
    {Command::SelectAll, [](Application&, frmStart& t) { exec(t, olecmd::SelectAll); }},
    {Command::Delete, [](Application&, frmStart& t) { exec(t, olecmd::Delete); }},
    {Command::FindInPage, [](Application&, frmStart& t) { findInPage(t); }},
    {Command::ViewSource, [](Application&, frmStart& t) { t.ViewSource(); }},
    {Command::SaveHtml, [](Application&, frmStart& t) { t.SaveAs(); }},
    {Command::SaveWordPortrait, [](Application& app, frmStart& t) { saveAsWord(app, t, false); }},
    {Command::SaveWordLandscape, [](Application& app, frmStart& t) { saveAsWord(app, t, true); }},
};

}  // namespace

frmStart* currentBrowserWindow(Application& app) {
    const int number = app.App.currentBrowser;
    if (number <= 0) return nullptr;
    for (Form* f : app.openWindows())
        if (f->role() == WindowRole::Browser && !f->unloaded()) {
            auto* b = static_cast<frmStart*>(f);
            if (b->number() == number) return b;
        }
    return nullptr;
}

bool runPageCommand(Application& app, Command command) {
    for (const PageHandler& h : kHandlers) {
        if (h.command != command) continue;
        if (frmStart* target = currentBrowserWindow(app)) h.run(app, *target);
        return true;
    }
    return false;
}

bool runPageCommand(Application& app, const std::string& key) {
    if (const std::optional<int> every = refreshChoiceOf(key)) {
        if (frmStart* target = currentBrowserWindow(app)) target->setRefresh(*every);
        return true;
    }
    const std::optional<Command> command = commandOf(key);
    return command && runPageCommand(app, *command);
}

}  // namespace corvano
