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
#include <QBuffer>
#include <QPdfDocument>
#include <QPdfView>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
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

void done(const Finished& finished) {
    if (finished) finished();
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

void openDialog(QDialog* dialog, std::function<void(int)> finished) {
    if (hook()) {
        const int result = hook()(*dialog);
        if (finished) finished(result);
        dialog->deleteLater();
        return;
    }
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, finished](int result) {
        if (finished) finished(result);
        dialog->deleteLater();
    });
    if (dialog->parentWidget()) {
        dialog->open();
    } else {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
    }
}

bool printing(const QWebEngineView* view) { return view && view->findChild<QObject*>(QLatin1String(kPrintJobName), Qt::FindDirectChildrenOnly); }

bool print(QWebEngineView* view, Finished finished) {
    if (!hasPage(view) || printing(view)) return false;
    auto printer = std::make_shared<std::unique_ptr<QPrinter>>(std::make_unique<QPrinter>());
    applyLayout(**printer);
    QPointer<QWebEngineView> guard(view);
    // The dialog belongs to the view: a window that closes takes it along.
    auto* dialog = new QPrintDialog(printer->get(), view);
    QObject::connect(dialog, &QObject::destroyed, [printer] {});  // the printer outlives its dialog
    openDialog(dialog, [guard, printer, finished](int result) {
        if (result == QDialog::Accepted && guard && !printing(guard)) {
            auto* job = new PrintJob(guard, std::move(*printer));
            guard->print(job->printer());
        }
        done(finished);
    });
    return true;
}

bool printPreview(QWebEngineView* view, Finished finished) {
    if (!hasPage(view) || printing(view)) return false;
    QPrinter printer;
    applyLayout(printer);
    QPointer<QWebEngineView> guard(view);
    // The page is printed to a PDF first, then shown: the preview never waits for the engine.
    view->page()->printToPdf(
        [guard, finished](const QByteArray& pdf) {
            if (!guard) return;
            auto* dialog = new QDialog(guard);
            dialog->setWindowTitle(guard->title().isEmpty() ? uiText(TextId::EditPrintPreview) : guard->title());
            auto* document = new QPdfDocument(dialog);
            auto* buffer = new QBuffer(dialog);
            buffer->setData(pdf);
            buffer->open(QIODevice::ReadOnly);
            document->load(buffer);
            auto* pages = new QPdfView(dialog);
            pages->setObjectName(QLatin1String(kPreviewView));
            pages->setPageMode(QPdfView::PageMode::MultiPage);
            pages->setZoomMode(QPdfView::ZoomMode::FitToWidth);
            pages->setDocument(document);
            auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
            QPushButton* printButton = buttons->addButton(uiText(TextId::Print), QDialogButtonBox::ActionRole);
            QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
            QObject::connect(printButton, &QPushButton::clicked, dialog, [dialog] { dialog->accept(); });
            auto* box = new QVBoxLayout(dialog);
            box->addWidget(pages);
            box->addWidget(buttons);
            const QSize room = guard->window()->size();
            dialog->resize(std::max(480, room.width() * 3 / 4), std::max(360, room.height() * 9 / 10));
            openDialog(dialog, [guard, finished](int result) {
                // "Print" in the preview goes on to the print dialog.
                if (result == QDialog::Accepted && guard && print(guard, finished)) return;
                done(finished);
            });
        },
        printer.pageLayout());
    return true;
}

bool pageSetup(QWebEngineView* view, Finished finished) {
    auto printer = std::make_shared<QPrinter>();
    applyLayout(*printer);
    QDialog* dialog = nullptr;
    if (printer->outputFormat() == QPrinter::NativeFormat)
        dialog = new QPageSetupDialog(printer.get(), view);
    else
        dialog = new QtPageLayoutDialog(printer.get(), view);
    QObject::connect(dialog, &QObject::destroyed, [printer] {});  // the printer outlives its dialog
    openDialog(dialog, [printer, finished](int result) {
        if (result == QDialog::Accepted) chosenLayout() = printer->pageLayout();
        done(finished);
    });
    return true;
}

namespace {

void showProperties(QWebEngineView* view, const std::optional<QVariant>& type, const std::optional<QString>& html,
                    const Finished& finished) {
    auto* dialog = new QDialog(view);
    dialog->setWindowTitle(uiText(TextId::Properties));
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
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    auto* box = new QVBoxLayout(dialog);
    box->addLayout(form);
    box->addWidget(buttons);
    dialog->setMinimumWidth(420);
    openDialog(dialog, [finished](int) { done(finished); });
}

}  // namespace

bool properties(QWebEngineView* view, Finished finished) {
    if (!hasPage(view)) return false;
    QPointer<QWebEngineView> guard(view);
    QPointer<QWebEnginePage> page(view->page());
    // The type, then the size of the markup, then the dialog; a view that
    // went away or changed its page meanwhile shows nothing.
    auto stillThere = [guard, page] { return guard && page && guard->page() == page; };
    page->runJavaScript(
        QStringLiteral("document.contentType"), QWebEngineScript::ApplicationWorld,
        answerWithin<QVariant>(page, kWebAnswerMs, [=](std::optional<QVariant> type) {
            if (!stillThere()) return;
            page->toHtml(answerWithin<QString>(page, kWebAnswerMs, [=](std::optional<QString> html) {
                if (stillThere()) showProperties(guard, type, html, finished);
            }));
        }));
    return true;
}

bool saveAs(QWebEngineView* view, Finished finished) {
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
    auto* dialog = new QFileDialog(view, uiText(TextId::SaveAs), dir + QLatin1Char('/') + name + QStringLiteral(".html"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setNameFilters({htmlOnly, complete, archive});
    dialog->selectNameFilter(htmlOnly);
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog, archive](const QString& f) {
        dialog->setDefaultSuffix(f == archive ? QStringLiteral("mhtml") : QStringLiteral("html"));
    });
    dialog->setDefaultSuffix(QStringLiteral("html"));
    openDialog(dialog, [dialog, guard, finished](int result) {
        if (result == QDialog::Accepted && guard && !dialog->selectedFiles().isEmpty()) {
            const QString path = dialog->selectedFiles().first();
            auto format = QWebEngineDownloadRequest::SingleHtmlSaveFormat;
            // By position: two languages' names of the filters may read the same.
            const qsizetype chosen = dialog->nameFilters().indexOf(dialog->selectedNameFilter());
            if (chosen == 1)
                format = QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
            else if (chosen == 2)
                format = QWebEngineDownloadRequest::MimeHtmlSaveFormat;
            guard->page()->save(path, format);
        }
        done(finished);
    });
    return true;
}

}  // namespace corvano::qt::pagedialogs
