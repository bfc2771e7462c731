#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "browser/PageCommands.h"
#include "browser/PageExport.h"
#include "unit/BrowserTestFixture.h"

namespace {

using namespace corvano;

std::string shipped(const char* name) {
    std::ifstream in(std::string(CORVANO_SHARE_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class PageExportTest : public test::BrowserTestFixture {
protected:
    PageExportTest() {
        app->App.dimOpacity = 205;
        app->App.fullOpacity = 255;
        const std::pair<TextId, const char*> texts[] = {
            {TextId::NothingToExport, "nothing to export"},
            {TextId::TemplateUnreadable, "template unreadable"},
            {TextId::TemplateNotRtf, "template not RTF"},
            {TextId::DocumentNoPermission, "no permission"},
            {TextId::DocumentDiskFull, "disk full"},
            {TextId::DocumentNoFolder, "no folder"},
            {TextId::DocumentNotWritten, "not written"},
            {TextId::SaveDocumentTitle, "save title"}};
        for (const auto& [id, text] : texts) app->App.strings.set(id, text);
        write("/Template.Doc", shipped("Template.Doc"));
        write("/TemplateH.Doc", shipped("TemplateH.Doc"));
    }
    // A window on a page with text, activated.
    frmStart& page() {
        frmStart& b = open();
        win(b).bringToTop();
        web(b).title = "Hello, World! 2024 - News";
        web(b).pageText = "Some words";
        RichBlock p;
        p.spans.push_back(RichSpan::plain("Some rich words"));
        web(b).pageRich.blocks.push_back(p);
        return b;
    }
    std::vector<std::string>& messages() { return fp.dialog.messages; }
    // The document export, run to its end: it waits half a second for the page.
    void exportW(frmStart& b) {
        b.SaveAsW();
        fp.advance(500);
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST(ProposedNameTest, CutsThenKeepsAsciiLettersAndDigits) {
    EXPECT_EQ(proposedDocumentName("Hello, World! 2024 - News"), "HelloWorld2024N.doc");
    EXPECT_EQ(proposedDocumentName("abcdefghijklmnopqrstuv"), "abcdefghijklmnopqrstuv.doc");  // 22: not cut
    EXPECT_EQ(proposedDocumentName("abcdefghijklmnopqrstuvw"), "abcdefghijklmnopqrstuv.doc");
    EXPECT_EQ(proposedDocumentName(""), ".doc");
    EXPECT_EQ(proposedDocumentName("\xC3\xA9t\xC3\xA9 -- \xE2\x82\xAC!"), "t.doc");  // accents dropped
    EXPECT_EQ(proposedDocumentName("\xE6\x97\xA5\xE6\x9C\xAC \xE2\x80\x94 !?"), ".doc");
    // Characters, not bytes, are counted: 21 accented letters leave room for one more.
    std::string accents;
    for (int i = 0; i < 21; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(proposedDocumentName(accents + "xy"), "x.doc");
}

TEST_F(PageExportTest, WritesTheDocumentFromTheTemplateTheLayoutFlagChooses) {
    frmStart& b = page();
    fp.dialog.saveAnswer = path("/portrait.doc");
    ASSERT_TRUE(runPageCommand(*app, "SAVE:WORDH"));
    fp.advance(500);
    fp.dialog.saveAnswer = path("/landscape.doc");
    ASSERT_TRUE(runPageCommand(*app, "SAVE:WORDV"));
    fp.advance(500);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(fp.dialog.saveAsked.at(0), "save title|Microsoft Word (*.doc)|*.doc|HelloWorld2024N.doc");
    const std::string portrait = read("/portrait.doc"), landscape = read("/landscape.doc");
    EXPECT_NE(portrait.find("Some rich words"), std::string::npos);
    EXPECT_NE(portrait.find("A4 portrait"), std::string::npos);
    EXPECT_NE(landscape.find("A4 landscape"), std::string::npos);
    EXPECT_EQ(win(b).opacities, (std::vector<int>{205, 255, 205, 255}));
    EXPECT_EQ(fp.busyCursor, (std::vector<bool>{true, false, true, false}));
}

TEST_F(PageExportTest, EveryWayOutLeavesTheWindowOpaque) {
    frmStart& b = page();
    auto& w = win(b);
    auto& ops = w.opacities;

    // Cancel in the save dialog: nothing written, no message.
    exportW(b);
    EXPECT_EQ(ops, (std::vector<int>{205, 255}));
    EXPECT_TRUE(messages().empty());

    // Nothing on the page, even after the fallback copy: the message, then the end.
    ops.clear();
    web(b).pageText.clear();
    web(b).pageRich = {};
    fp.dialog.saveAnswer = path("/x.doc");
    exportW(b);
    EXPECT_EQ(ops, (std::vector<int>{205, 255}));
    EXPECT_EQ(messages(), std::vector<std::string>{"Quillmere: nothing to export"});
    EXPECT_EQ(fp.dialog.saveAsked.size(), 1u);

    // A page that yields only a picture is exported.
    messages().clear();
    web(b).pageImage = true;
    exportW(b);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(exists("/x.doc"));

    // The template missing, then not RTF: a message naming it, nothing left behind.
    const auto before = folderEntries();
    for (const char* content : {"", "plain text"}) {
        ops.clear();
        messages().clear();
        std::filesystem::remove(path("/Template.Doc"));
        if (*content) write("/Template.Doc", content);
        fp.dialog.saveAnswer = path("/y.doc");
        exportW(b);
        EXPECT_EQ(ops, (std::vector<int>{205, 255}));
        EXPECT_EQ(messages(), std::vector<std::string>{std::string("Quillmere: ") + (*content ? "template not RTF\n" : "template unreadable\n") +
                                                      path("/Template.Doc")});
        EXPECT_FALSE(exists("/y.doc"));
    }
    write("/Template.Doc", shipped("Template.Doc"));

    // A document that cannot be written: its folder is missing, or it is a folder.
    for (const char* target : {"/missing/z.doc", "/Data"}) {
        messages().clear();
        fp.dialog.saveAnswer = path(target);
        exportW(b);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_NE(messages()[0].find(path(target)), std::string::npos);
        EXPECT_EQ(messages()[0].rfind(std::string("Quillmere: ") + (target[1] == 'm' ? "no folder" : "not written"), 0), 0u);
    }
    EXPECT_EQ(folderEntries(), before) << "no temporary file is left";
    EXPECT_EQ(ops.back(), 255);

    // The HTML save: dimmed and busy while the page's dialog runs.
    ops.clear();
    fp.busyCursor.clear();
    web(b).calls.clear();
    b.SaveAs();
    EXPECT_EQ(web(b).calls, std::vector<std::string>{"ExecWB 4 1"});
    EXPECT_EQ(ops, (std::vector<int>{205, 255}));
    EXPECT_EQ(fp.busyCursor, (std::vector<bool>{true, false}));
}

TEST_F(PageExportTest, AFailedCopyFallsBackToThePageText) {
    frmStart& b = page();
    web(b).copyPageOk = false;
    web(b).fallbackText = "Fallback words";
    web(b).calls.clear();
    fp.dialog.saveAnswer = path("/f.doc");
    exportW(b);
    EXPECT_EQ(web(b).calls, (std::vector<std::string>{"CopyPage", "Stop", "CopyText", "Refresh"}));
    EXPECT_NE(read("/f.doc").find("Fallback words"), std::string::npos);
}

TEST_F(PageExportTest, TheWordProcessorGetsItsFiveCallsAndAlwaysQuits) {
    struct Recorder : WordProcessor {
        explicit Recorder(std::vector<std::string>& log) : log(log) {}
        bool Documents_Open(const std::string& p) override { return log.push_back("open " + p), true; }
        bool Content_Paste() override {
            log.push_back("paste");
            err = {DocumentError::DiskFull, "X"};
            return !failPaste;
        }
        bool SaveAs(const std::string& p) override { return log.push_back("save " + p), true; }
        void Quit() override { log.push_back("quit"); }
        const DocumentError& error() const override { return err; }
        std::vector<std::string>& log;
        DocumentError err;
        bool failPaste = false;
    };
    frmStart& b = page();
    std::vector<std::string> log;
    bool failPaste = false;
    b.makeWordProcessor = [&]() -> std::unique_ptr<WordProcessor> {
        log.push_back("create");
        auto r = std::make_unique<Recorder>(log);
        r->failPaste = failPaste;
        return r;
    };
    fp.dialog.saveAnswer = path("/w.doc");
    b.setExportLandscape(true);
    exportW(b);
    EXPECT_EQ(log, (std::vector<std::string>{"create", "open " + path("/TemplateH.Doc"), "paste",
                                             "save " + path("/w.doc"), "quit"}));
    EXPECT_TRUE(messages().empty());

    log.clear();
    failPaste = true;
    exportW(b);
    EXPECT_EQ(log, (std::vector<std::string>{"create", "open " + path("/TemplateH.Doc"), "paste", "quit"}));
    EXPECT_EQ(messages(), std::vector<std::string>{"Quillmere: disk full\nX"});

    // One that cannot be started ends the export with a message too.
    messages().clear();
    b.makeWordProcessor = [] { return std::unique_ptr<WordProcessor>(); };
    exportW(b);
    EXPECT_EQ(messages(), std::vector<std::string>{"Quillmere: not written\n" + path("/w.doc")});
    EXPECT_EQ(win(b).opacities.back(), 255);
}

TEST_F(PageExportTest, AWindowClosedDuringTheExportIsNotTouched) {
    frmStart& b = page();
    fake::FakeWindow* w = &win(b);
    std::vector<int> seen;
    // The window closes while the save dialog is open.
    fp.dialog.saveAnswer = path("/gone.doc");
    fp.dialog.onSaveAsked = [&] {
        seen = w->opacities;
        b.GO_Exit();
    };
    exportW(b);
    EXPECT_EQ(seen, std::vector<int>{205});
    EXPECT_FALSE(exists("/gone.doc"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(PageExportTest, OpacityOutOfRangeIsReported) {
    frmStart& b = page();
    app->App.strings.set(TextId::OpacityRange, "Out of range:");
    Set_Opacity(*app, b.window(), 256);
    Set_Opacity(*app, b.window(), -1);
    Set_Opacity(*app, b.window(), 0);
    EXPECT_EQ(win(b).opacities, std::vector<int>{0});
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0], "Corvano: Out of range: 256 Source : Set_Opacity");
}

TEST_F(PageExportTest, EachWindowSwitchesItsOwnSourceView) {
    frmStart& one = page();
    frmStart& two = page();
    web(one).html = "<html><body>one</body></html>";
    web(two).html = "<html><body>two</body></html>";
    win(one).r = {0, 0, 9000, 7000};
    one.ViewSource();
    MarkupBox& box1 = one.txtSource();
    MarkupBox& box2 = two.txtSource();
    EXPECT_TRUE(box1.visible());
    EXPECT_EQ(box1.text(), *web(one).html);
    EXPECT_EQ((Rect{box1.left(), box1.top(), box1.width(), box1.height()}),
              (Rect{0, one.picBar().height() + 40, 9000 - 100, 7000 - 850}));

    // Window 2 shows its own source at once; window 1's stays.
    two.ViewSource();
    EXPECT_TRUE(box1.visible());
    EXPECT_TRUE(box2.visible());
    EXPECT_EQ(box2.text(), *web(two).html);

    // A window made smaller keeps the box at its size.
    const int width = box2.width(), height = box2.height();
    win(two).setGeometry({0, 0, 6000, 5000});
    EXPECT_EQ(box2.width(), width);
    EXPECT_EQ(box2.height(), height);

    // Hidden and emptied by the next call.
    two.ViewSource();
    EXPECT_FALSE(box2.visible());
    EXPECT_EQ(box2.text(), "");

    // No document (nothing loaded, or no answer in time): nothing changes.
    web(two).html.reset();
    two.ViewSource();
    EXPECT_FALSE(box2.visible());

    // A tiny window gives an empty box, not a negative one.
    web(two).html = "<html></html>";
    win(two).resizeEvents = false;
    win(two).r = {0, 0, 90, 800};
    two.ViewSource();
    EXPECT_EQ(box2.width(), 0);
    EXPECT_EQ(box2.height(), 0);
    EXPECT_TRUE(box2.visible());

    // While the source is shown, finding searches it.
    ASSERT_TRUE(runPageCommand(*app, "EDIT:FINDDOC"));
    EXPECT_EQ(static_cast<fake::FakeMarkupBox&>(box2).findBarCount, 1);
}

}  // namespace
