#include "browser/PageExport.h"

#include <memory>

#include "app/Application.h"
#include "browser/RtfWordProcessor.h"

namespace corvano {

// One export: the window stays dimmed, and the busy pointer on, while any
// of its steps is still to come; opaque again on every way out, unless the
// window went away meanwhile.
class ExportRun {
public:
    ExportRun(Application& app, const ExportPage& w, bool busy) : app_(app), w_(w), busy_(busy) {
        Set_Opacity(app_, w_.window, app_.App.dimOpacity);
        if (busy_) app_.platform.setBusyCursor(true);
    }
    ~ExportRun() {
        if (busy_) app_.platform.setBusyCursor(false);
        if (!gone()) Set_Opacity(app_, w_.window, app_.App.fullOpacity);
    }
    ExportRun(const ExportRun&) = delete;
    ExportRun& operator=(const ExportRun&) = delete;
    // The engine's and the dialogs' answers can come after the window closed.
    bool gone() const { return !*w_.alive || (w_.closing && w_.closing()); }

private:
    Application& app_;
    ExportPage w_;
    bool busy_;
};

namespace {

constexpr int kNameLimit = 22;

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
    auto run = std::make_shared<ExportRun>(app_, w_, true);
    // The page's own dialog asks for the name and the format and writes the
    // file; the export ends when it closes. A page that cannot be saved
    // (nothing loaded) leaves nothing to do.
    w_.web.ExecWB(olecmd::SaveAs, olecmd::OptPromptUser, [run] {});
}

bool PageExport::clipboardHoldsSomething() const {
    const Clipboard& clip = app_.platform.clipboard();
    return clip.hasImage() || clip.text().find_first_not_of(" \t\r\n") != std::string::npos;
}

void PageExport::SaveAsW() {
    auto run = std::make_shared<ExportRun>(app_, w_, false);
    // Copy: the page as the engine's select-all and copy give it, once loaded.
    app_.platform.clipboard().clear();
    w_.web.copyPageToClipboard([self = *this, run](bool copied) {
        if (run->gone()) return;
        self.w_.attend([self, run, copied](bool attended) {
            if (run->gone()) return;
            if (!copied || !attended || !self.clipboardHoldsSomething()) return self.fallbackCopy(run);
            self.askName(run);
        });
    });
}

void PageExport::fallbackCopy(const std::shared_ptr<ExportRun>& run) const {
    WebView& web = w_.web;
    app_.platform.clipboard().clear();
    web.Stop();
    web.setVisible(true);
    web.copyTextToClipboard([self = *this, run](bool) {
        if (run->gone()) return;
        self.w_.web.Refresh();
        self.askName(run);
    });
}

void PageExport::askName(const std::shared_ptr<ExportRun>& run) const {
    Dialogs& dialogs = app_.platform.dialogs();
    const StringTable& strings = app_.App.strings;
    // The window stays dimmed until the message is closed.
    if (!clipboardHoldsSomething()) return dialogs.message(strings[TextId::NothingToExport], kExportTitle, [run] {});
    // Name: a cancel or an empty name ends quietly.
    dialogs.saveFileName(strings[TextId::SaveDocumentTitle], kWordFilter, proposedDocumentName(w_.web.LocationName()),
                         [self = *this, run](std::optional<std::string> path) {
                             if (run->gone() || !path || path->empty()) return;
                             self.writeDocument(*path, run);
                         });
}

void PageExport::writeDocument(const std::string& path, const std::shared_ptr<ExportRun>& run) const {
    Platform& platform = app_.platform;
    DocumentError failure;
    platform.setBusyCursor(true);
    std::unique_ptr<WordProcessor> word =
        w_.makeWordProcessor ? w_.makeWordProcessor() : std::make_unique<RtfWordProcessor>(platform.clipboard());
    if (!word) {
        failure = {DocumentError::WriteFailed, path};
    } else {
        const bool ok = word->Documents_Open(w_.templatePath) && word->Content_Paste() && word->SaveAs(path);
        if (!ok) failure = word->error();
        if (!ok && failure.reason == DocumentError::None) failure = {DocumentError::WriteFailed, path};
        word->Quit();
    }
    platform.setBusyCursor(false);
    if (failure.reason != DocumentError::None)
        platform.dialogs().message(documentErrorText(app_.App.strings, failure), kExportTitle, [run] {});
}

}  // namespace corvano
