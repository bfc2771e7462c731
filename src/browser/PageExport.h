#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/StringTable.h"
#include "platform/WordProcessor.h"

namespace corvano {

class Application;
class Window;
class WebView;
class ExportRun;

// The title of the "nothing to export" message and of the export's failures.
inline constexpr const char* kExportTitle = "Quillmere";
inline constexpr const char* kWordFilter = "Microsoft Word (*.doc)|*.doc";

// The document name the save dialog proposes: the page title's first 22
// characters, of those only the ASCII letters and digits, then ".doc".
std::string proposedDocumentName(const std::string& title);

// The message for a failed export: what went wrong, then the file.
std::string documentErrorText(const StringTable& strings, const DocumentError& error);

// Sets the window's opacity (0..255). A value out of range is reported; a
// window system without translucent windows is not worth a message.
void Set_Opacity(Application& app, Window& window, int opacity);

// The export of the page a browser window shows: as HTML through the page's
// own save dialog, or as a document through the word processor. The window
// is dimmed while it runs and opaque again on every way out. Each step that
// waits for the engine or the user returns at once; the next one runs when
// the answer comes.
// What an export needs of its window; the window gives it.
struct ExportPage {
    Window& window;
    WebView& web;
    // Answers once the page has loaded (true) or could not be waited for.
    std::function<void(std::function<void(bool)>)> attend;
    // The document template: portrait for "SAVE:WORDH", landscape for "SAVE:WORDV".
    std::string templatePath;
    // Makes the word processor; empty for our own.
    std::function<std::unique_ptr<WordProcessor>()> makeWordProcessor;
    // False once the window object is gone; while it is there, `closing`
    // tells whether it is on its way out.
    std::shared_ptr<const bool> alive;
    std::function<bool()> closing;
};

class PageExport {
public:
    PageExport(Application& app, ExportPage page) : app_(app), w_(std::move(page)) {}
    void SaveAs();
    void SaveAsW();

private:
    void fallbackCopy(const std::shared_ptr<ExportRun>& run) const;
    void askName(const std::shared_ptr<ExportRun>& run) const;
    bool clipboardHoldsSomething() const;
    void writeDocument(const std::string& path, const std::shared_ptr<ExportRun>& run) const;

    Application& app_;
    ExportPage w_;
};

}  // namespace corvano
