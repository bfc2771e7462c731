// The page's dialogs (save as, properties, print, preview, page setup),
// answered through the dialog hook in place of the user.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPdfDocument>
#include <QPdfView>
#include <QPrinter>
#include <QRegularExpression>

#include "WebViewFixture.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtWebEngineSetup.h"

using namespace corvano;
using namespace corvano::test;
namespace pd = corvano::qt::pagedialogs;

namespace {

// Chooses the orientation in whichever page setup dialog the platform allows.
int answerPageSetup(QDialog& d, QPageLayout::Orientation o) {
    if (auto* sd = qobject_cast<QPageSetupDialog*>(&d)) {
        sd->printer()->setPageOrientation(o);
        return QDialog::Accepted;
    }
    auto* own = qobject_cast<qt::QtPageLayoutDialog*>(&d);
    auto* combo = d.findChild<QComboBox*>("orientation");
    if (!own || !combo) return QDialog::Rejected;
    combo->setCurrentIndex(combo->findData(int(o)));
    d.accept();
    return d.result();
}

class WebViewDialogsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static QTemporaryDir storage;
        qt::setWebStorageFolder(storage.path());
    }
    QString tempPath(const QString& name) const { return f.temp.filePath(name); }
    // Prints through the print dialog into a PDF file and returns its bytes.
    QByteArray printToPdf(const QString& name) {
        const QString path = tempPath(name);
        pd::setDialogHook([path](QDialog& d) {
            auto* pdlg = qobject_cast<QPrintDialog*>(&d);
            if (!pdlg) return int(QDialog::Rejected);
            pdlg->printer()->setOutputFormat(QPrinter::PdfFormat);
            pdlg->printer()->setOutputFileName(path);
            return int(QDialog::Accepted);
        });
        if (!f.view->ExecWB(olecmd::Print, olecmd::OptDoDefault)) return {};
        QWebEngineView* v = f.host()->view();
        waitUntil([&] { return !pd::printing(v); }, 30000);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    WebViewFixture f;
};

TEST_F(WebViewDialogsTest, NothingToDoWithoutAPage) {
    int asked = 0;
    pd::setDialogHook([&](QDialog&) {
        ++asked;
        return int(QDialog::Accepted);
    });
    for (int cmd : {olecmd::SaveAs, olecmd::Print, olecmd::PrintPreview, olecmd::Properties})
        EXPECT_FALSE(f.view->ExecWB(cmd, olecmd::OptDoDefault)) << cmd;
    EXPECT_EQ(asked, 0);
}

TEST_F(WebViewDialogsTest, SaveAsWritesEachFormat) {
    ASSERT_TRUE(f.load("/first"));
    struct Case {
        QString file;
        int filter;  // position in the dialog's list
        const char* mustContain;
    };
    for (const Case& c : {Case{"single.html", 0, "Hello Corvano world"}, Case{"complete.html", 1, "Hello Corvano world"},
                          Case{"archive.mhtml", 2, "MIME-Version"}}) {
        const QString path = tempPath(c.file);
        QStringList filters;
        pd::setDialogHook([&](QDialog& d) {
            auto* fd = qobject_cast<QFileDialog*>(&d);
            if (!fd) return int(QDialog::Rejected);
            filters = fd->nameFilters();
            fd->selectNameFilter(filters.value(c.filter));
            fd->selectFile(path);
            return int(QDialog::Accepted);
        });
        ASSERT_TRUE(f.view->ExecWB(olecmd::SaveAs, olecmd::OptPromptUser));
        EXPECT_EQ(filters.size(), 3);
        ASSERT_TRUE(waitUntil([&] { return QFileInfo(path).size() > 0; })) << c.file.toStdString();
        QByteArray bytes;
        waitUntil([&] {
            QFile file(path);
            bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            return bytes.contains(c.mustContain);
        });
        EXPECT_TRUE(bytes.contains(c.mustContain)) << c.file.toStdString();
    }

    // Cancelled: nothing written, still a command the page could do.
    pd::setDialogHook([](QDialog&) { return int(QDialog::Rejected); });
    const int before = QDir(f.temp.path()).entryList(QDir::Files).size();
    EXPECT_TRUE(f.view->ExecWB(olecmd::SaveAs, olecmd::OptPromptUser));
    EXPECT_EQ(QDir(f.temp.path()).entryList(QDir::Files).size(), before);
}

TEST_F(WebViewDialogsTest, PropertiesShowTitleAddressTypeAndSize) {
    ASSERT_TRUE(f.load("/first"));
    QMap<QString, QString> shown;
    pd::setDialogHook([&](QDialog& d) {
        for (const char* n : {pd::kPropTitle, pd::kPropAddress, pd::kPropType, pd::kPropSize})
            if (auto* l = d.findChild<QLabel*>(n)) shown[n] = l->text();
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(f.view->ExecWB(olecmd::Properties, olecmd::OptDoDefault));
    // The dialog opens once the engine has answered.
    ASSERT_TRUE(waitUntil([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown[pd::kPropTitle], "First Page");
    EXPECT_EQ(shown[pd::kPropAddress], f.server().address("/first"));
    EXPECT_EQ(shown[pd::kPropType], "text/html");
    const QRegularExpressionMatch m = QRegularExpression("^(\\d+) bytes$").match(shown[pd::kPropSize]);
    ASSERT_TRUE(m.hasMatch()) << shown[pd::kPropSize].toStdString();
    EXPECT_GT(m.captured(1).toInt(), 100);
}

TEST_F(WebViewDialogsTest, PrintPreviewAndPageSetup) {
    ASSERT_TRUE(f.load("/first"));
    const QByteArray pdf = printToPdf("portrait.pdf");
    ASSERT_TRUE(pdf.startsWith("%PDF")) << pdf.left(20).toStdString();
    EXPECT_GT(pdf.size(), 500);

    // The preview shows the page's pages, printed to PDF first; closing it finishes the command.
    int pages = -1;
    bool finished = false;
    pd::setDialogHook([&](QDialog& d) {
        auto* preview = d.findChild<QPdfView*>(pd::kPreviewView);
        if (!preview || !preview->document()) return int(QDialog::Rejected);
        waitUntil([&] { return preview->document()->status() == QPdfDocument::Status::Ready; }, 5000);
        pages = preview->document()->pageCount();
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(f.view->ExecWB(olecmd::PrintPreview, olecmd::OptDoDefault, [&] { finished = true; }));
    ASSERT_TRUE(waitUntil([&] { return finished; }, 30000));
    EXPECT_GE(pages, 1);

    // A layout chosen in page setup holds for the later prints.
    pd::setDialogHook([](QDialog& d) { return answerPageSetup(d, QPageLayout::Landscape); });
    ASSERT_TRUE(f.view->ExecWB(olecmd::PageSetup, olecmd::OptDoDefault));
    const QByteArray landscape = printToPdf("landscape.pdf");
    const QRegularExpression box("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]");
    const auto portraitBox = box.match(QString::fromLatin1(pdf));
    const auto landscapeBox = box.match(QString::fromLatin1(landscape));
    ASSERT_TRUE(portraitBox.hasMatch() && landscapeBox.hasMatch());
    EXPECT_LT(portraitBox.captured(1).toDouble(), portraitBox.captured(2).toDouble());
    EXPECT_GT(landscapeBox.captured(1).toDouble(), landscapeBox.captured(2).toDouble());

    // Put the shared layout back for whoever prints next.
    pd::setDialogHook([](QDialog& d) { return answerPageSetup(d, QPageLayout::Portrait); });
    f.view->ExecWB(olecmd::PageSetup, olecmd::OptDoDefault);
}

}  // namespace
