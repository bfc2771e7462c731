#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QPrinter;
class QWebEngineView;

namespace corvano::qt {

// Page setup for when the platform's dialog cannot serve (it refuses printers
// that only write PDF, which is all there is without a print system): paper,
// orientation and margins in millimetres, written into the printer on accept.
class QtPageLayoutDialog : public QDialog {
    Q_OBJECT
public:
    QtPageLayoutDialog(QPrinter* printer, QWidget* parent);
    QPrinter* printer() const { return printer_; }
    void accept() override;

private:
    QPrinter* printer_;
    QComboBox* paper_;
    QComboBox* orientation_;
    QDoubleSpinBox* margins_[4];  // left, top, right, bottom
};

// The page's own dialogs: print, preview, page setup, properties, save as.
// Each returns false when the page cannot do it; a dialog the user cancels
// still counts as done. None waits: `finished` runs once its dialog has
// closed (never when the call returns false).
namespace pagedialogs {

// Answers the modal dialogs in place of the user (tests): called with the
// dialog instead of showing it, returns its result code.
using DialogHook = std::function<int(QDialog&)>;
void setDialogHook(DialogHook hook);
// Shows the dialog modally and returns at once: application-modal when it
// has no parent, modal to its parent's window otherwise. `finished` gets the
// result code once the user has closed it; the dialog is deleted afterwards.
void openDialog(QDialog* dialog, std::function<void(int)> finished);

using Finished = std::function<void()>;
bool print(QWebEngineView* view, Finished finished = {});
bool printPreview(QWebEngineView* view, Finished finished = {});
bool pageSetup(QWebEngineView* view, Finished finished = {});
bool properties(QWebEngineView* view, Finished finished = {});
bool saveAs(QWebEngineView* view, Finished finished = {});

// The object name of the preview's page view (a QPdfView).
inline constexpr const char* kPreviewView = "previewView";

// True while a print job of this view has not finished.
bool printing(const QWebEngineView* view);

// Object names of the properties dialog's value labels.
inline constexpr const char* kPropTitle = "propTitle";
inline constexpr const char* kPropAddress = "propAddress";
inline constexpr const char* kPropType = "propType";
inline constexpr const char* kPropSize = "propSize";

}  // namespace pagedialogs
}  // namespace corvano::qt
