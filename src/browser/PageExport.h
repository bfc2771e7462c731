#pragma once

#include <string>

#include "app/StringTable.h"
#include "platform/WordProcessor.h"

namespace corvano {

class Application;
class Window;
class frmStart;
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
// is dimmed while it runs and opaque again on every way out.
class PageExport {
public:
    PageExport(Application& app, frmStart& window) : app_(app), w_(window) {}
    void SaveAs();
    void SaveAsW();

private:
    void fallbackCopy();
    bool clipboardHoldsSomething() const;
    void writeDocument(const std::string& path);

    Application& app_;
    frmStart& w_;
};

}  // namespace corvano
