// The page export and the source view through the real engine and clipboard;
// the documents are read back by LibreOffice.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QWebEnginePage>

#include "AppFixture.h"
#include "browser/PageCommands.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtFindBar.h"
#include "platform/qt/QtMarkupBox.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtRichClipboard.h"

using namespace corvano;
using corvano::test::waitUntil;

namespace {

class ExportGui : public test::AppFixture {
protected:
    ExportGui() { shared.push_back("Template"); }

    // One browser window on the page, activated, loaded (with that title, unless empty).
    frmStart& start(const QString& path, const std::string& title) {
        AppFixture::start(path, {600, 60, 9000, 9000});
        frmStart& b = browser();
        const std::string address = server.address(path).toStdString();
        EXPECT_TRUE(waitUntil([&] {
            return b.Web().LocationURL() == address && (title.empty() || b.Web().LocationName() == title) &&
                   test::readyStateOf(b.Web()) == std::optional<std::string>("complete");
        }));
        QWidget* w = widget(b);
        w->activateWindow();
        EXPECT_TRUE(waitUntil([&] { return w->isActiveWindow(); }));
        return b;
    }
    static QWidget* widget(frmStart& b) { return widgetOf(b); }
};

// Converts the files with LibreOffice in one run; the results land beside them or in outDir.
bool convert(const QStringList& files, const QString& format, const QString& profile, QString outDir = {}) {
    if (outDir.isEmpty()) outDir = QFileInfo(files.first()).absolutePath();
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("soffice"), QStringList{QStringLiteral("-env:UserInstallation=file://") + profile,
                                                   QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
                                                   QStringLiteral("--outdir"), outDir} +
                                           files);
    return p.waitForFinished(180000) && p.exitCode() == 0;
}

QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The words of a text, without list markers.
QStringList words(const QString& text) {
    QStringList out;
    for (const QString& w : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        if (w != QStringLiteral("\u2022") && w != QStringLiteral("\uFEFF") &&
            !QRegularExpression(QStringLiteral("^\\d+\\.$")).match(w).hasMatch())
            out << w;
    return out;
}

QByteArray pngOf(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 60));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

test::LocalHttpServer::Route pngRoute(QSize size) {
    test::LocalHttpServer::Route route;
    route.body = pngOf(size);
    route.contentType = "image/png";
    return route;
}

// Width and height of the first page of a PDF, in points.
QSizeF pageSize(const QString& pdf) {
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const auto m = QRegularExpression(QStringLiteral("MediaBox\\s*\\[\\s*0 0 ([\\d.]+) ([\\d.]+)"))
                       .match(QString::fromLatin1(f.readAll()));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

}  // namespace

TEST(RichClipboardTest, ReadsTheEnginesMarkupIntoBlocks) {
    // As the engine puts a selection on the clipboard: inline styles, no-break spaces.
    const RichDocument doc = qt::richDocumentFromHtml(
        "<meta charset='utf-8'><html><body><!--StartFragment--><h2 style=\"color: red\">Sub</h2>"
        "<p>One&nbsp;<span style=\"font-weight: 700;\">two</span>&nbsp;<i>three</i> <u>four</u>"
        " <a href=\"http://127.0.0.1/x\">five</a><br>six</p><p>   </p>"
        "<ol><li>a</li><li>b<ul><li>c</li></ul></li></ol>"
        "<table><tr><td colspan=2>wide</td></tr><tr><td>l</td><td><p>r1</p><p>r2</p></td></tr></table>"
        "<!--EndFragment--></body></html>");
    ASSERT_EQ(doc.blocks.size(), 6u);
    EXPECT_EQ(doc.blocks[0].kind, RichBlockKind::Heading);
    EXPECT_EQ(doc.blocks[0].level, 2);
    const RichSpans& p = doc.blocks[1].spans;
    std::string text, bold, italic, underline, link;
    for (const RichSpan& s : p) {
        text += s.text;
        if (s.bold) bold += s.text;
        if (s.italic) italic += s.text;
        if (s.underline) underline += s.text;
        if (!s.link.empty()) link = s.link + "=" + s.text;
    }
    EXPECT_EQ(text, "One two three four five\nsix");
    EXPECT_EQ(bold, "two");
    EXPECT_EQ(italic, "three");
    EXPECT_EQ(underline, "four");  // a link is no underlined text of its own
    EXPECT_EQ(link, "http://127.0.0.1/x=five");
    const RichBlock &a = doc.blocks[2], &b = doc.blocks[3], &c = doc.blocks[4];
    EXPECT_TRUE(a.kind == RichBlockKind::ListItem && a.numbered && a.number == 1 && a.level == 1);
    EXPECT_TRUE(b.kind == RichBlockKind::ListItem && b.numbered && b.number == 2);
    EXPECT_TRUE(c.kind == RichBlockKind::ListItem && !c.numbered && c.level == 2);
    const RichBlock& t = doc.blocks[5];
    ASSERT_EQ(t.kind, RichBlockKind::Table);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].size(), 1u);  // the spanned cell once
    ASSERT_EQ(t.rows[1].size(), 2u);
    std::string right;
    for (const RichSpan& s : t.rows[1][1]) right += s.text;
    EXPECT_EQ(right, "r1\nr2");

    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const RichDocument pic = qt::pictureDocument(image);
    ASSERT_EQ(pic.blocks.size(), 1u);
    EXPECT_EQ(pic.blocks[0].png.substr(1, 3), "PNG");
    EXPECT_EQ(pic.blocks[0].pixelWidth, 3);
}

TEST_F(ExportGui, ADocumentKeepsThePagesTextAndStructureInEitherOrientation) {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice (libreoffice-writer-nogui) is not installed";
    server.addPage("/target.html", "<title>T</title>");
    server.addRoute("/dot.png", pngRoute(QSize(24, 12)));
    server.addPage("/page.html",
                   "<!doctype html><html><head><meta charset=utf-8><title>Export: Größe 1</title></head><body>"
                   "<h1>Große Überschrift</h1>"
                   "<p>Some <b>bold words</b> and <a href=\"/target.html\">a link</a> here.</p>"
                   "<ul><li>first item</li><li>second item</li></ul><ol><li>numbered item</li></ol>"
                   "<table border=1><tr><td>cell A</td><td>cell B</td></tr><tr><td>cell C</td><td>café D</td></tr></table>"
                   "<p>Accents àéîõü çñ and ½ €.</p><p><img src=\"/dot.png\"></p></body></html>");
    // The landscape template as a user leaves it after changing it in LibreOffice.
    const QString profile = QString::fromStdString(dir.file("/lo-profile"));
    const QString resaved = QString::fromStdString(dir.file("/resave/TemplateH.rtf"));
    QDir().mkpath(QFileInfo(resaved).absolutePath());
    ASSERT_TRUE(QFile::copy(QString::fromStdString(dir.file("/TemplateH.Doc")), resaved));
    ASSERT_TRUE(convert({resaved}, QStringLiteral("rtf"), profile, QString::fromStdString(dir.file("/resave/out"))));
    QFile::remove(QString::fromStdString(dir.file("/TemplateH.Doc")));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(dir.file("/resave/out/TemplateH.rtf")),
                            QString::fromStdString(dir.file("/TemplateH.Doc"))));
    frmStart& b = start("/page.html", "Export: Größe 1");

    QString proposed;
    double dimmed = -1;
    QString target;
    qt::pagedialogs::setDialogHook([&](QDialog& d) {
        auto* fd = qobject_cast<QFileDialog*>(&d);
        if (auto* box = qobject_cast<QMessageBox*>(&d)) ADD_FAILURE() << box->text().toStdString();
        if (!fd) return int(QDialog::Rejected);
        proposed = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        dimmed = widget(b)->windowOpacity();
        fd->selectFile(target);
        return int(QDialog::Accepted);
    });
    const QString portrait = QString::fromStdString(dir.file("/out/portrait.doc"));
    const QString landscape = QString::fromStdString(dir.file("/out/landscape.doc"));
    QDir().mkpath(QFileInfo(portrait).absolutePath());
    target = portrait;
    ASSERT_TRUE(runPageCommand(*app, "SAVE:WORDH"));
    // The export goes on as the engine answers: done once the window is opaque again.
    ASSERT_TRUE(waitUntil([&] { return !proposed.isEmpty() && widget(b)->windowOpacity() == 1.0; }));
    EXPECT_EQ(proposed, "ExportGre1.doc");
    EXPECT_NEAR(dimmed, 205 / 255.0, 0.01);
    target = landscape;
    ASSERT_TRUE(runPageCommand(*app, "SAVE:WORDV"));
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(landscape).size() > 0; }));
    ASSERT_TRUE(QFileInfo(portrait).size() > 0 && QFileInfo(landscape).size() > 0);
    EXPECT_TRUE(readText(portrait).startsWith("{\\rtf"));
    EXPECT_TRUE(readText(portrait).contains("{\\pict\\pngblip\\picw24\\pich12"));
    // The clipboard keeps the copied page: its text is what the page yields.
    const QString pageText = QApplication::clipboard()->text();
    ASSERT_TRUE(pageText.contains("cell A")) << pageText.toStdString();

    EXPECT_TRUE(readText(landscape).contains("LibreOffice"));
    ASSERT_TRUE(convert({portrait}, QStringLiteral("txt:Text (encoded):UTF8"), profile));
    EXPECT_EQ(words(readText(QString(portrait).replace(".doc", ".txt"))), words(pageText));

    ASSERT_TRUE(convert({portrait}, QStringLiteral("html"), profile));
    const QString html = readText(QString(portrait).replace(".doc", ".html"));
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<h1[^>]*>\\s*Große Überschrift\\s*</h1>")))) << html.toStdString();
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<b>bold\\s+words</b>"))));
    EXPECT_TRUE(html.contains("href=\"" + server.address("/target.html") + "\""));
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<ul>\\s*<li>(\\s|<[^>]+>)*first item"))));
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<ol>\\s*<li>(\\s|<[^>]+>)*numbered item"))));
    for (const char* cell : {"cell A", "cell B", "cell C", "café D"})
        EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<td[^>]*>(\\s|<[^>]+>)*") + cell))) << cell;

    ASSERT_TRUE(convert({portrait, landscape}, QStringLiteral("pdf"), profile));
    const QSizeF p = pageSize(QString(portrait).replace(".doc", ".pdf"));
    const QSizeF l = pageSize(QString(landscape).replace(".doc", ".pdf"));
    EXPECT_NEAR(p.width(), 595.3, 1);  // A4
    EXPECT_NEAR(p.height(), 841.9, 1);
    EXPECT_NEAR(l.width(), 841.9, 1);
    EXPECT_NEAR(l.height(), 595.3, 1);
}

TEST_F(ExportGui, APageThatIsOnlyAPictureGivesThatPicture) {
    server.addRoute("/picture.png", pngRoute(QSize(40, 30)));
    start("/picture.png", "");
    const QString path = QString::fromStdString(dir.file("/picture.doc"));
    qt::pagedialogs::setDialogHook([&](QDialog& d) {
        auto* fd = qobject_cast<QFileDialog*>(&d);
        if (auto* box = qobject_cast<QMessageBox*>(&d)) ADD_FAILURE() << box->text().toStdString();
        if (fd) fd->selectFile(path);
        return int(fd ? QDialog::Accepted : QDialog::Rejected);
    });
    ASSERT_TRUE(runPageCommand(*app, "SAVE:WORDV"));
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(path).size() > 0; }));
    const QString doc = readText(path);
    EXPECT_TRUE(doc.contains("{\\pict\\pngblip\\picw40\\pich30")) << doc.left(200).toStdString();
}

TEST_F(ExportGui, TheSourceViewShowsTheMarkupAsScriptsLeftIt) {
    server.addPage("/s.html",
                   "<!doctype html><html><head><title>S</title></head><body><p id=t>as sent</p>"
                   "<script>document.getElementById('t').textContent = 'changed by script';"
                   "document.title = 'Changed';</script></body></html>");
    frmStart& b = start("/s.html", "Changed");
    auto& box = static_cast<qt::QtMarkupBox&>(b.txtSource());
    ASSERT_TRUE(runPageCommand(*app, "EDIT:VIEW"));
    ASSERT_TRUE(waitUntil([&] { return box.visible(); }));
    EXPECT_TRUE(box.widget()->isVisible());
    const QString shown = box.widget()->edit()->toPlainText();
    EXPECT_TRUE(shown.startsWith("<html>")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("<p id=\"t\">changed by script</p>"));
    EXPECT_FALSE(shown.contains("as sent"));
    EXPECT_TRUE(box.widget()->edit()->isReadOnly());
    EXPECT_TRUE(QFontInfo(box.widget()->edit()->font()).fixedPitch());
    EXPECT_GT(box.widget()->y(), 0);

    // The find bar searches the source while it is shown.
    ASSERT_TRUE(runPageCommand(*app, "EDIT:FINDDOC"));
    qt::QtFindBar* find = box.widget()->findBar();
    ASSERT_TRUE(find->isVisible());
    find->edit()->setText("CHANGED BY");  // in the paragraph and in the script
    EXPECT_EQ(find->countText(), "1 of 2");
    EXPECT_EQ(box.widget()->edit()->textCursor().selectedText(), "changed by");
    // The window's find keys reach it too.
    QWidget* keys = QApplication::focusWidget() ? QApplication::focusWidget() : widget(b);
    QTest::keyClick(keys, Qt::Key_F3);
    EXPECT_TRUE(waitUntil([&] { return find->countText() == "2 of 2"; }, 2000)) << find->countText().toStdString();
    QTest::keyClick(keys, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_TRUE(waitUntil([&] { return find->countText() == "1 of 2"; }, 2000)) << find->countText().toStdString();
    // The tag, its attribute, the attribute's value and the text each in a colour of their own.
    const QTextBlock line = box.widget()->edit()->document()->find("<p id=").block();
    QSet<QRgb> colours;
    for (const QTextLayout::FormatRange& r : line.layout()->formats()) colours << r.format.foreground().color().rgb();
    EXPECT_GE(colours.size(), 3) << line.text().toStdString();

    ASSERT_TRUE(runPageCommand(*app, "EDIT:VIEW"));
    EXPECT_FALSE(box.widget()->isVisible());
    EXPECT_TRUE(box.widget()->edit()->toPlainText().isEmpty());
}
