#pragma once

#include <memory>
#include <string>

#include "app/StringTable.h"
#include "platform/WordProcessor.h"

namespace corvano {

class Application;
class Window;
class frmStart;
class ExportRun;
struct AppState;

// The title of the "nothing to export" message and of the export's failures.
inline constexpr const char* kExportTitle = "Quillmere";
inline constexpr const char* kWordFilter = "Microsoft Word (*.doc)|*.doc";

// The document name the save dialog proposes: the page title's first 22
// characters, of those only the ASCII letters and digits, then ".doc".
std::string proposedDocumentName(const std::string& title);

// The template of the export: portrait for "SAVE:WORDH", landscape for "SAVE:WORDV".
const std::string& wordTemplatePath(const AppState& App);

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
class PageExport {
public:
    PageExport(Application& app, frmStart& window) : app_(app), w_(window) {}
    void SaveAs();
    void SaveAsW();

private:
    void fallbackCopy(const std::shared_ptr<ExportRun>& run) const;
    void askName(const std::shared_ptr<ExportRun>& run) const;
    bool clipboardHoldsSomething() const;
    void writeDocument(const std::string& path, const std::shared_ptr<ExportRun>& run) const;

    Application& app_;
    frmStart& w_;
};

}  // namespace corvano
