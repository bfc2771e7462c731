#include "browser/PageCommands.h"

#include <utility>

#include "app/Application.h"
#include "browser/ProductUrls.h"
#include "browser/frmStart.h"

namespace corvano {

namespace {

constexpr std::pair<const char*, const char*> kEngines[] = {
    {"SEARCH:ALTAV", urls::kAltaVista}, {"SEARCH:YAHOO", urls::kYahoo}, {"SEARCH:GOOGLE", urls::kGoogle},
    {"SEARCH:LIVE", urls::kLive},       {"SEARCH:LYGO", urls::kLygo},
};

constexpr std::pair<const char*, int> kEditCommands[] = {
    {"EDIT:PAGESET", olecmd::PageSetup}, {"EDIT:PREVIEW", olecmd::PrintPreview}, {"EDIT:PRINT", olecmd::Print},
    {"EDIT:PROPERTIES", olecmd::Properties}, {"EDIT:CUT", olecmd::Cut},        {"EDIT:COPY", olecmd::Copy},
    {"EDIT:PASTE", olecmd::Paste},         {"EDIT:SELECT", olecmd::SelectAll}, {"EDIT:DELETE", olecmd::Delete},
};

// Carried out by the page export and source view.
constexpr const char* kExport[] = {"SAVE:HTML", "SAVE:WORDH", "SAVE:WORDV", "EDIT:VIEW"};

bool known(const std::string& key) {
    if (key == "SEARCH:SEARCH" || key == "EDIT:FINDDOC") return true;
    for (const auto& e : kEngines)
        if (key == e.first) return true;
    for (const auto& e : kEditCommands)
        if (key == e.first) return true;
    for (const char* k : kExport)
        if (key == k) return true;
    return false;
}

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

bool runPageCommand(Application& app, const std::string& key) {
    if (!known(key)) return false;
    frmStart* target = currentBrowserWindow(app);
    if (!target) return true;
    WebView& web = target->Web();
    if (key == "SEARCH:SEARCH") {
        web.GoSearch();
        return true;
    }
    for (const auto& [k, url] : kEngines)
        if (key == k) {
            web.Navigate(url);
            target->Text1().setText(url);
            return true;
        }
    // A command the page cannot perform simply has no effect.
    for (const auto& [k, command] : kEditCommands)
        if (key == k) {
            web.ExecWB(command, olecmd::OptDoDefault);
            return true;
        }
    if (key == "EDIT:FINDDOC") {
        // While the window shows its source, finding searches the source.
        if (target->txtSource().visible()) {
            target->txtSource().showFindBar();
            return true;
        }
        web.setFocus();
        web.showFindBar();
        return true;
    }
    if (key == "SAVE:HTML") {
        target->SaveAs();
    } else if (key == "SAVE:WORDH") {
        app.App.wordLayout = false;
        target->SaveAsW();
    } else if (key == "SAVE:WORDV") {
        app.App.wordLayout = true;
        target->SaveAsW();
    } else if (key == "EDIT:VIEW") {
        target->ViewSource();
    }
    return true;
}

}  // namespace corvano
