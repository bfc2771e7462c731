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
// still counts as done.
namespace pagedialogs {

// Answers the modal dialogs in place of the user (tests): called with the
// dialog instead of exec(), returns its result code.
using DialogHook = std::function<int(QDialog&)>;
void setDialogHook(DialogHook hook);
int runDialog(QDialog& dialog);

bool print(QWebEngineView* view);
bool printPreview(QWebEngineView* view);
bool pageSetup(QWebEngineView* view);
bool properties(QWebEngineView* view);
bool saveAs(QWebEngineView* view);

// True while a print job of this view has not finished.
bool printing(const QWebEngineView* view);

// Object names of the properties dialog's value labels.
inline constexpr const char* kPropTitle = "propTitle";
inline constexpr const char* kPropAddress = "propAddress";
inline constexpr const char* kPropType = "propType";
inline constexpr const char* kPropSize = "propSize";

}  // namespace pagedialogs
}  // namespace corvano::qt
