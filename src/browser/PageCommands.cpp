#include "browser/PageCommands.h"

#include <algorithm>
#include <utility>

#include "app/Application.h"
#include "bars/BrowserBars.h"
#include "bars/Commands.h"
#include "browser/PageExport.h"
#include "browser/ProductUrls.h"
#include "browser/frmStart.h"

namespace corvano {

namespace {

using Run = void (*)(frmStart&, const CommandCall&);

struct PageCommand {
    const char* name;
    int bar;  // the bar control whose clicks run it; -1 none
    CommandArg arg;
    Run run;
};

constexpr CommandArg kNone = CommandArg::None;

// The control ignores what it cannot do (no earlier page, nothing to print).
constexpr PageCommand kCommands[] = {
    {"BACK", 0, kNone, [](frmStart& w, const CommandCall&) { w.Web().GoBack(); }},
    {"NEXT", 0, kNone, [](frmStart& w, const CommandCall&) { w.Web().GoForward(); }},
    {"REFRESH", 0, kNone, [](frmStart& w, const CommandCall&) { w.Web().Refresh2(); }},
    {"PRINT", 0, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::Print); }},
    {"GO", 2, kNone, [](frmStart& w, const CommandCall&) { w.CommandGo(1); }},
    {"GOOGLE", 2, kNone,
     [](frmStart& w, const CommandCall&) {
         w.Text1().setText(urls::kGoogle);
         w.CommandGo(0);
     }},
    {"SEARCH:SEARCH", 5, kNone, [](frmStart& w, const CommandCall&) { w.Web().GoSearch(); }},
    {"SEARCH:ALTAV", 5, kNone, [](frmStart& w, const CommandCall&) { w.navigate(urls::kAltaVista); }},
    {"SEARCH:YAHOO", 5, kNone, [](frmStart& w, const CommandCall&) { w.navigate(urls::kYahoo); }},
    {"SEARCH:GOOGLE", 5, kNone, [](frmStart& w, const CommandCall&) { w.navigate(urls::kGoogle); }},
    {"SEARCH:LIVE", 5, kNone, [](frmStart& w, const CommandCall&) { w.navigate(urls::kLive); }},
    {"SEARCH:LYGO", 5, kNone, [](frmStart& w, const CommandCall&) { w.navigate(urls::kLygo); }},
    {"EDIT:PAGESET", 5, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::PageSetup); }},
    {"EDIT:PREVIEW", 5, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::PrintPreview); }},
    {"EDIT:PRINT", 5, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::Print); }},
    {"EDIT:PROPERTIES", 5, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::Properties); }},
    {"EDIT:CUT", 5, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::Cut); }},
    {"EDIT:COPY", 5, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::Copy); }},
    {"EDIT:PASTE", 5, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::Paste); }},
    {"EDIT:SELECT", 5, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::SelectAll); }},
    {"EDIT:DELETE", 5, kNone, [](frmStart& w, const CommandCall&) { w.execPage(olecmd::Delete); }},
    {"EDIT:FINDDOC", 5, kNone, [](frmStart& w, const CommandCall&) { w.findInPage(); }},
    {"EDIT:VIEW", 5, kNone, [](frmStart& w, const CommandCall&) { w.ViewSource(); }},
    {"SAVE:HTML", 5, kNone, [](frmStart& w, const CommandCall&) { w.SaveAs(); }},
    {"SAVE:WORDH", 5, kNone,
     [](frmStart& w, const CommandCall&) {
         w.setExportLandscape(false);
         w.SaveAsW();
     }},
    {"SAVE:WORDV", 5, kNone,
     [](frmStart& w, const CommandCall&) {
         w.setExportLandscape(true);
         w.SaveAsW();
     }},
    // The keys, the page's menu and callers from outside.
    {"PAGE:ADDRESS", -1, kNone, [](frmStart& w, const CommandCall&) { w.focusAddress(); }},
    {"PAGE:FINDNEXT", -1, kNone, [](frmStart& w, const CommandCall&) { w.findAgain(false); }},
    {"PAGE:FINDPREVIOUS", -1, kNone, [](frmStart& w, const CommandCall&) { w.findAgain(true); }},
    {"PAGE:RELOADHARD", -1, kNone, [](frmStart& w, const CommandCall&) { w.Web().ReloadBypassingCache(); }},
    {"PAGE:STOP", -1, kNone, [](frmStart& w, const CommandCall&) { w.stopPage(); }},
    {"PAGE:CLOSE", -1, kNone, [](frmStart& w, const CommandCall&) { w.GO_Exit(); }},
    {"PAGE:ZOOMIN", -1, kNone, [](frmStart& w, const CommandCall&) { w.setZoom(zoomStep(w.zoom(), 1)); }},
    {"PAGE:ZOOMOUT", -1, kNone, [](frmStart& w, const CommandCall&) { w.setZoom(zoomStep(w.zoom(), -1)); }},
    {"PAGE:ZOOMRESET", -1, kNone, [](frmStart& w, const CommandCall&) { w.setZoom(100); }},
    {"PAGE:ZOOM", -1, CommandArg::Number, [](frmStart& w, const CommandCall& c) { w.setZoom(c.number); }},
    {"PAGE:FULLSCREEN", -1, kNone, [](frmStart& w, const CommandCall&) { w.setFullScreen(!w.fullScreen()); }},
    {"PAGE:BARS", -1, kNone, [](frmStart& w, const CommandCall&) { w.setBarsShown(!w.barsShown()); }},
    {"PAGE:REFRESH", -1, CommandArg::Number, [](frmStart& w, const CommandCall& c) { w.setRefresh(refreshFromFile(c.number)); }},
    // The window's web profile; the name goes as the call's text.
    {"PAGE:PROFILE", -1, CommandArg::Address, [](frmStart& w, const CommandCall& c) { w.useProfile(c.address); }},
    {"PAGE:SHAREDPROFILE", -1, kNone, [](frmStart& w, const CommandCall&) { w.useProfile({}); }},
    {"PAGE:NEWPROFILE", -1, kNone, [](frmStart& w, const CommandCall&) { w.newProfile(); }},
    {"PAGE:REMOVEPROFILE", -1, CommandArg::Address,
     [](frmStart& w, const CommandCall& c) { w.removeProfile(c.address); }},
    // As if typed into the address box and sent.
    {"PAGE:GO", -1, CommandArg::Address,
     [](frmStart& w, const CommandCall& c) {
         w.Text1().setText(c.address);
         w.CommandGo(1);
     }},
};

}  // namespace

void registerPageCommands(Application& app) {
    auto add = [&app](std::string name, int bar, CommandArg arg, std::function<void(frmStart&, const CommandCall&)> run) {
        app.commands.add({std::move(name), CommandTarget::Window, arg, bar, [&app, run](const CommandCall& call) {
                              if (frmStart* w = app.browsers.find(call.window)) run(*w, call);
                          }});
    };
    for (const PageCommand& c : kCommands) add(c.name, c.bar, c.arg, c.run);
    // The refresh interval's choices, in the drop-down and the page's menu.
    for (int seconds : kRefreshChoices)
        add(refreshChoiceKey(seconds), 5, CommandArg::None,
            [seconds](frmStart& w, const CommandCall&) { w.setRefresh(seconds); });
}

frmStart* openBrowserWindow(Application& app, const std::string& firstAddress) {
    AppState& App = app.App;
    // At the limit nothing opens, without a message.
    if (App.browserCount >= App.maxBrowsers) return nullptr;
    ++App.browserCount;
    frmStart& opened = app.load<frmStart>(firstAddress);
    if (opened.unloaded()) return nullptr;
    opened.window().show();
    return &opened;
}

frmStart* currentBrowserWindow(Application& app) { return app.browsers.find(app.App.currentBrowser); }

bool runPageCommand(Application& app, const std::string& key) {
    const CommandRegistry::Command* command = app.commands.find(key);
    if (!command || command->target != CommandTarget::Window) return false;
    app.commands.run(key);
    return true;
}

// The page commands' own steps on the window.

void frmStart::navigate(const std::string& url) {
    web_->Navigate(url);
    address_->show(url);
}

void frmStart::execPage(int command) { web_->ExecWB(command, olecmd::OptDoDefault); }

void frmStart::findInPage() {
    // While the window shows its source, finding searches the source.
    if (txtSource().visible()) return txtSource().showFindBar();
    web_->setFocus();
    web_->showFindBar();
}

void frmStart::findAgain(bool backward) {
    // While the source is shown, the find keys search it, as "EDIT:FINDDOC" does.
    txtSource().visible() ? txtSource().findAgain(backward) : web_->findAgain(backward);
}

void frmStart::focusAddress() {
    if (!stripShown()) {
        peeking_ = true;
        Form_Resize();
    }
    address_->take();
}

void frmStart::stopPage() {
    watch_->care().cancel();
    web_->Stop();
    endPeek();
}

void frmStart::setZoom(int percent) {
    zoom_ = std::clamp(percent, kZoomMin, kZoomMax);
    web_->setZoomPercent(zoom_);
    zoomCaptionText_ = longCaption(app_.App.strings[TextId::Zoom] + " " + std::to_string(zoom_) + " %");
    window().setCaption(zoomCaptionText_);
    zoomCaption_->setEnabled(false);
    zoomCaption_->setEnabled(true);
}

ExportPage frmStart::exportPage() {
    return {window(),
            *web_,
            [this](std::function<void(bool)> done) { WebAttend(std::move(done)); },
            state_.exportLandscape ? state_.templatePath2 : state_.templatePath1,
            makeWordProcessor,
            alive_,
            [this] { return closing_ || unloaded(); }};
}

void frmStart::SaveAs() { PageExport(app_, exportPage()).SaveAs(); }
void frmStart::SaveAsW() { PageExport(app_, exportPage()).SaveAsW(); }
void frmStart::ViewSource() { source_->ViewSource(*web_, window(), picBar_->height()); }

}  // namespace corvano
