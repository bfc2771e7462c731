#include "platform/qt/QtPageDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <optional>

#include "platform/qt/QtTexts.h"
#include "platform/qt/QtWebWait.h"

namespace corvano::qt {
namespace {
}  // namespace
}  // namespace corvano::qt

namespace corvano::qt::pagedialogs {

namespace {

DialogHook& hook() {
    static DialogHook h;
    return h;
}

// Page setup is shared by every page, as the user expects from one program.
std::optional<QPageLayout>& chosenLayout() {
    static std::optional<QPageLayout> layout;
    return layout;
}

// The engine draws each page as a picture at the printer's resolution: 300 dpi
// prints sharp at a fraction of the time and memory of 1200.
constexpr int kPrintDpi = 300;

void applyLayout(QPrinter& printer) {
    printer.setResolution(kPrintDpi);
    if (chosenLayout()) printer.setPageLayout(*chosenLayout());
}

bool hasPage(const QWebEngineView* view) { return view && view->page() && !view->url().isEmpty(); }

constexpr const char* kPrintJobName = "corvanoPrintJob";

// Keeps the printer alive until the engine has finished with it.
class PrintJob : public QObject {
public:
    PrintJob(QWebEngineView* view, std::unique_ptr<QPrinter> printer) : QObject(view), printer_(std::move(printer)) {
        setObjectName(QLatin1String(kPrintJobName));
        connect(view, &QWebEngineView::printFinished, this, [this](bool) { deleteLater(); });
    }
    QPrinter* printer() const { return printer_.get(); }

private:
    std::unique_ptr<QPrinter> printer_;
};

// Prints into the printer and waits; for the preview, whose printer belongs to the dialog.
bool printAndWait(QWebEngineView* view, QPrinter* printer) {
    if (!view || printing(view)) return false;
    QObject listening;  // the connection ends with the wait
    auto ok = waitForAnswer<bool>(
        view,
        [&](std::function<void(bool)> done) {
            QObject::connect(view, &QWebEngineView::printFinished, &listening, [done](bool success) { done(success); });
            view->print(printer);
        },
        60000);
    return ok.value_or(false);
}

}  // namespace

}  // namespace corvano::qt::pagedialogs

namespace corvano::qt {

QtPageLayoutDialog::QtPageLayoutDialog(QPrinter* printer, QWidget* parent)
    : QDialog(parent), printer_(printer), paper_(new QComboBox(this)), orientation_(new QComboBox(this)) {
    setWindowTitle(uiText(TextId::PageSetup));
    paper_->setObjectName(QStringLiteral("paper"));
    orientation_->setObjectName(QStringLiteral("orientation"));
    const QPageLayout layout = printer->pageLayout();
    for (auto id : {QPageSize::A4, QPageSize::Letter, QPageSize::Legal, QPageSize::A3, QPageSize::A5}) {
        paper_->addItem(QPageSize::name(id), int(id));
        if (layout.pageSize().id() == id) paper_->setCurrentIndex(paper_->count() - 1);
    }
    orientation_->addItem(uiText(TextId::Portrait), int(QPageLayout::Portrait));
    orientation_->addItem(uiText(TextId::Landscape), int(QPageLayout::Landscape));
    orientation_->setCurrentIndex(layout.orientation() == QPageLayout::Landscape ? 1 : 0);

    auto* form = new QFormLayout;
    form->addRow(uiText(TextId::Paper), paper_);
    form->addRow(uiText(TextId::Orientation), orientation_);
    const QMarginsF m = layout.margins(QPageLayout::Millimeter);
    const qreal values[4] = {m.left(), m.top(), m.right(), m.bottom()};
    const QString captions[4] = {uiText(TextId::MarginLeft), uiText(TextId::MarginTop), uiText(TextId::MarginRight),
                                 uiText(TextId::MarginBottom)};
    for (int i = 0; i < 4; ++i) {
        margins_[i] = new QDoubleSpinBox(this);
        margins_[i]->setRange(0, 100);
        margins_[i]->setSuffix(QStringLiteral(" mm"));
        margins_[i]->setValue(values[i]);
        form->addRow(captions[i], margins_[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(buttons);
}

void QtPageLayoutDialog::accept() {
    const QPageSize size(QPageSize::PageSizeId(paper_->currentData().toInt()));
    const auto orient = QPageLayout::Orientation(orientation_->currentData().toInt());
    const QMarginsF m(margins_[0]->value(), margins_[1]->value(), margins_[2]->value(), margins_[3]->value());
    // Margins that leave no room on the paper are not taken.
    const QPageLayout layout(size, orient, m, QPageLayout::Millimeter);
    printer_->setPageLayout(layout.isValid() ? layout : QPageLayout(size, orient, QMarginsF(), QPageLayout::Millimeter));
    QDialog::accept();
}

}  // namespace corvano::qt

namespace corvano::qt::pagedialogs {

void setDialogHook(DialogHook h) { hook() = std::move(h); }

int runDialog(QDialog& dialog) {
    if (hook()) return hook()(dialog);
    return dialog.exec();
}

bool printing(const QWebEngineView* view) { return view && view->findChild<QObject*>(QLatin1String(kPrintJobName), Qt::FindDirectChildrenOnly); }

bool print(QWebEngineView* view) {
    if (!hasPage(view) || printing(view)) return false;
    auto printer = std::make_unique<QPrinter>();
    applyLayout(*printer);
    QPointer<QWebEngineView> guard(view);
    QPrintDialog dialog(printer.get(), view);
    if (runDialog(dialog) != QDialog::Accepted) return true;
    if (!guard || printing(view)) return false;
    auto* job = new PrintJob(view, std::move(printer));
    view->print(job->printer());
    return true;
}

bool printPreview(QWebEngineView* view) {
    if (!hasPage(view) || printing(view)) return false;
    QPrinter printer;
    applyLayout(printer);
    QPointer<QWebEngineView> guard(view);
    QPrintPreviewDialog dialog(&printer, view);
    dialog.setWindowTitle(view->title());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [guard](QPrinter* p) {
        if (guard) printAndWait(guard, p);
    });
    runDialog(dialog);
    return true;
}

bool pageSetup(QWebEngineView* view) {
    QPrinter printer;
    applyLayout(printer);
    int result = QDialog::Rejected;
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        QPageSetupDialog dialog(&printer, view);
        result = runDialog(dialog);
    } else {
        QtPageLayoutDialog dialog(&printer, view);
        result = runDialog(dialog);
    }
    if (result == QDialog::Accepted) chosenLayout() = printer.pageLayout();
    return true;
}

bool properties(QWebEngineView* view) {
    if (!hasPage(view)) return false;
    QWebEnginePage* page = view->page();
    const auto type = waitForAnswer<QVariant>(page, [page](std::function<void(QVariant)> done) {
        page->runJavaScript(QStringLiteral("document.contentType"), QWebEngineScript::ApplicationWorld,
                            [done](const QVariant& v) { done(v); });
    });
    if (!page || view->page() != page) return false;
    const auto html =
        waitForAnswer<QString>(page, [page](std::function<void(QString)> done) { page->toHtml(done); });
    if (!page || view->page() != page) return false;

    QDialog dialog(view);
    dialog.setWindowTitle(uiText(TextId::Properties));
    auto* form = new QFormLayout;
    auto addRow = [&](const QString& caption, const QString& value, const char* name) {
        auto* label = new QLabel(value);
        label->setObjectName(QLatin1String(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setWordWrap(true);
        form->addRow(caption, label);
    };
    const QString unknown = uiText(TextId::Unknown);
    addRow(uiText(TextId::PropertyTitle), view->title(), kPropTitle);
    addRow(uiText(TextId::PropertyAddress), view->url().toDisplayString(), kPropAddress);
    addRow(uiText(TextId::PropertyType), type && type->isValid() ? type->toString() : unknown, kPropType);
    addRow(uiText(TextId::PropertySize), html ? uiText(TextId::Bytes).arg(html->toUtf8().size()) : unknown, kPropSize);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    auto* box = new QVBoxLayout(&dialog);
    box->addLayout(form);
    box->addWidget(buttons);
    dialog.setMinimumWidth(420);
    runDialog(dialog);
    return true;
}

bool saveAs(QWebEngineView* view) {
    if (!hasPage(view)) return false;
    const QString htmlOnly = uiText(TextId::SaveHtmlOnly) + QStringLiteral(" (*.html *.htm)");
    const QString complete = uiText(TextId::SaveComplete) + QStringLiteral(" (*.html *.htm)");
    const QString archive = uiText(TextId::SaveArchive) + QStringLiteral(" (*.mhtml *.mht)");

    QString name = view->title().trimmed();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")), QStringLiteral("_"));
    if (name.isEmpty()) name = uiText(TextId::DefaultPageName);
    if (name.isEmpty()) name = QStringLiteral("index");
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();

    QPointer<QWebEngineView> guard(view);
    QFileDialog dialog(view, uiText(TextId::SaveAs), dir + QLatin1Char('/') + name + QStringLiteral(".html"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilters({htmlOnly, complete, archive});
    dialog.selectNameFilter(htmlOnly);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, archive](const QString& f) {
        dialog.setDefaultSuffix(f == archive ? QStringLiteral("mhtml") : QStringLiteral("html"));
    });
    dialog.setDefaultSuffix(QStringLiteral("html"));
    if (runDialog(dialog) != QDialog::Accepted) return true;
    if (!guard || dialog.selectedFiles().isEmpty()) return false;

    const QString path = dialog.selectedFiles().first();
    const QString filter = dialog.selectedNameFilter();
    auto format = QWebEngineDownloadRequest::SingleHtmlSaveFormat;
    // By position: two languages' names of the filters may read the same.
    const qsizetype chosen = dialog.nameFilters().indexOf(filter);
    if (chosen == 1)
        format = QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
    else if (chosen == 2)
        format = QWebEngineDownloadRequest::MimeHtmlSaveFormat;
    view->page()->save(path, format);
    return true;
}

}  // namespace corvano::qt::pagedialogs
