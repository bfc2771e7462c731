#include "browser/PageExport.h"

#include <memory>

#include "app/Application.h"
#include "browser/RtfWordProcessor.h"
#include "browser/frmStart.h"

namespace corvano {

namespace {

constexpr int kNameLimit = 22;

// Dims the window for the time it lives; opaque again on every way out,
// unless the window went away meanwhile.
class Dimmed {
public:
    Dimmed(Application& app, frmStart& w) : app_(app), w_(w), alive_(w.aliveToken()) {
        Set_Opacity(app_, w_.window(), app_.App.dimOpacity);
    }
    ~Dimmed() {
        if (*alive_ && !w_.unloaded()) Set_Opacity(app_, w_.window(), app_.App.fullOpacity);
    }
    Dimmed(const Dimmed&) = delete;
    Dimmed& operator=(const Dimmed&) = delete;
    bool gone() const { return !*alive_ || w_.unloaded(); }

private:
    Application& app_;
    frmStart& w_;
    std::shared_ptr<const bool> alive_;
};

class BusyCursor {
public:
    explicit BusyCursor(Platform& p) : p_(p) { p_.setBusyCursor(true); }
    ~BusyCursor() { p_.setBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Platform& p_;
};

bool isAsciiAlnum(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string proposedDocumentName(const std::string& title) {
    std::string name;
    int characters = 0;
    for (char ch : title) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c & 0xC0) != 0x80 && ++characters > kNameLimit) break;
        if (isAsciiAlnum(c)) name.push_back(ch);
    }
    return name + ".doc";
}

const std::string& wordTemplatePath(const AppState& App) { return App.wordLayout ? App.templatePath2 : App.templatePath1; }

std::string documentErrorText(const StringTable& strings, const DocumentError& error) {
    TextId n = TextId::DocumentNotWritten;
    switch (error.reason) {
        case DocumentError::TemplateUnreadable: n = TextId::TemplateUnreadable; break;
        case DocumentError::TemplateNotRtf: n = TextId::TemplateNotRtf; break;
        case DocumentError::NoPermission: n = TextId::DocumentNoPermission; break;
        case DocumentError::DiskFull: n = TextId::DocumentDiskFull; break;
        case DocumentError::NoFolder: n = TextId::DocumentNoFolder; break;
        default: break;
    }
    return strings[n] + "\n" + error.file;
}

void Set_Opacity(Application& app, Window& window, int opacity) {
    if (opacity < 0 || opacity > 255) {
        app.platform.dialogs().message(
            app.App.strings[TextId::OpacityRange] + " " + std::to_string(opacity) + " Source : Set_Opacity", "Corvano");
        return;
    }
    window.setOpacity(opacity);
}

void PageExport::SaveAs() {
    Dimmed dim(app_, w_);
    BusyCursor busy(app_.platform);
    app_.platform.pause(500);
    if (dim.gone()) return;
    // The page's own dialog asks for the name and the format and writes the file;
    // a page that cannot be saved (nothing loaded) leaves nothing to do.
    w_.Web().ExecWB(olecmd::SaveAs, olecmd::OptPromptUser);
    if (dim.gone()) return;
    app_.platform.pause(500);
}

bool PageExport::clipboardHoldsSomething() const {
    const Clipboard& clip = app_.platform.clipboard();
    return clip.hasImage() || clip.text().find_first_not_of(" \t\r\n") != std::string::npos;
}

void PageExport::fallbackCopy() {
    WebView& web = w_.Web();
    app_.platform.clipboard().clear();
    web.Stop();
    web.setVisible(true);
    web.copyTextToClipboard();
    if (!*w_.aliveToken() || w_.unloaded()) return;
    web.Refresh();
}

void PageExport::SaveAsW() {
    Dimmed dim(app_, w_);
    Platform& platform = app_.platform;
    const StringTable& strings = app_.App.strings;

    // Copy: the page as the engine's select-all and copy give it.
    platform.clipboard().clear();
    const bool copied = w_.Web().copyPageToClipboard();
    if (dim.gone()) return;
    const bool attended = w_.WebAttend();
    if (dim.gone()) return;
    if (!copied || !attended || !clipboardHoldsSomething()) fallbackCopy();
    if (dim.gone()) return;
    if (!clipboardHoldsSomething()) {
        platform.dialogs().message(strings[TextId::NothingToExport], kExportTitle);
        return;
    }

    // Name: a cancel or an empty name ends quietly.
    const auto path = platform.dialogs().saveFileName(strings[TextId::SaveDocumentTitle], kWordFilter,
                                                      proposedDocumentName(w_.Web().LocationName()));
    if (dim.gone() || !path || path->empty()) return;

    writeDocument(*path);
}

void PageExport::writeDocument(const std::string& path) {
    Platform& platform = app_.platform;
    DocumentError failure;
    {
        BusyCursor busy(platform);
        std::unique_ptr<WordProcessor> word =
            w_.makeWordProcessor ? w_.makeWordProcessor() : std::make_unique<RtfWordProcessor>(platform.clipboard());
        if (!word) {
            failure = {DocumentError::WriteFailed, path};
        } else {
            const bool ok =
                word->Documents_Open(wordTemplatePath(app_.App)) && word->Content_Paste() && word->SaveAs(path);
            if (!ok) failure = word->error();
            if (!ok && failure.reason == DocumentError::None) failure = {DocumentError::WriteFailed, path};
            word->Quit();
        }
    }
    if (failure.reason != DocumentError::None)
        platform.dialogs().message(documentErrorText(app_.App.strings, failure), kExportTitle);
}

}  // namespace corvano
