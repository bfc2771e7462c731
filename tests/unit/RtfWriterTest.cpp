#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "browser/RtfTemplate.h"
#include "browser/RtfWriter.h"

namespace {

using namespace corvano;

std::string shipped(const char* name) {
    std::ifstream in(std::string(CORVANO_SHARE_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string escaped(const std::string& utf8) {
    std::string out;
    rtf::appendText(out, utf8);
    return out;
}

RichBlock paragraph(std::vector<RichSpan> spans) {
    RichBlock b;
    b.spans = std::move(spans);
    return b;
}

RichSpan span(std::string text, bool bold = false, std::string link = {}) {
    RichSpan s = RichSpan::plain(std::move(text));
    s.bold = bold;
    s.link = std::move(link);
    return s;
}

// A template as a word processor writes it back: generator, renumbered
// styles, a letterhead in the page header, a body of its own.
const char* kResaved =
    "{\\rtf1\\ansi\\deff3\\adeflang1025\r\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f3\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
    "{\\stylesheet{\\s0\\snext0\\f3\\fs22 Normal;}\r\n{\\*\\cs15\\ul Internet Link;}\r\n"
    "{\\s7\\sbasedon0\\snext0\\keepn\\b\\cf2\\f3\\fs40 Heading 1;}}\r\n"
    "{\\*\\generator Writer;}{\\info{\\title x}}\\formshade\\paperh11906\\paperw16838\\margl720\\margr1000\r\n"
    "\\sectd\\sbknone\\lndscpsxn\\pgwsxn16838\\pghsxn11906\\marglsxn720\\margrsxn1118"
    "{\\header\\pard\\plain\\s0{\\b Letterhead \\{Inc.\\}}\\par}\r\n"
    "\\pgndec\\pard\\plain \\s0 Old body text\\par}\r\n";

TEST(RtfTemplateTest, KeepsTheHeaderAndReadsThePage) {
    for (const char* name : {"Template.Doc", "TemplateH.Doc"}) {
        const std::string text = shipped(name);
        auto t = RtfTemplate::parse(text);
        ASSERT_TRUE(t) << name;
        EXPECT_EQ(text.substr(0, t->header().size()), t->header());
        EXPECT_EQ(text.substr(t->header().size(), 5), "\\pard") << name;
        EXPECT_EQ(t->landscape(), std::string(name) == "TemplateH.Doc");
        EXPECT_EQ(t->textWidth(), t->landscape() ? 16838 - 2 * 1134 : 11906 - 2 * 1134);
        EXPECT_GE(t->headingStyle(1), 0);
        EXPECT_GE(t->linkColour(), 1);
    }

    auto t = RtfTemplate::parse(kResaved);
    ASSERT_TRUE(t);
    EXPECT_NE(t->header().find("Letterhead \\{Inc.\\}}\\par}"), std::string::npos);
    EXPECT_EQ(t->header().find("Old body"), std::string::npos);
    EXPECT_TRUE(t->landscape());
    EXPECT_EQ(t->textWidth(), 16838 - 720 - 1118);  // the section's values win
    EXPECT_EQ(t->headingStyle(1), 7);                // found by name, any letter case
    EXPECT_EQ(t->headingFormat(1), "\\keepn\\b\\cf2\\f3\\fs40");
    EXPECT_EQ(t->headingStyle(2), -1);
    EXPECT_EQ(t->linkColour(), 3);

    for (const char* bad : {"", "Hello", "<html>{\\rtf1}</html>", "{\\rtf1\\ansi{\\fonttbl}\\pard text\\par", "{\\rtf1 a}}"})
        EXPECT_FALSE(RtfTemplate::parse(bad)) << bad;
}

TEST(RtfWriterTest, EscapesEveryCharacter) {
    EXPECT_EQ(escaped("a\\b{c}d\te\nf\r\x01g"), "a\\\\b\\{c\\}d\\tab e\\line fg");
    EXPECT_EQ(escaped("caf\xC3\xA9 \xE2\x82\xAC"), "caf\\u233? \\u8364?");
    EXPECT_EQ(escaped("\xEF\xBC\xA1"), "\\u-223?");                   // U+FF21, above 0x7FFF
    EXPECT_EQ(escaped("\xF0\x9F\x98\x80"), "\\u-10179?\\u-8704?");     // U+1F600 as two surrogates
    EXPECT_EQ(escaped("\xFF" "a\xC3"), "\\u-3?a\\u-3?");               // broken UTF-8
    EXPECT_EQ(escaped("\xED\xA0\x80"), "\\u-3?\\u-3?\\u-3?");          // an encoded surrogate is broken too
}

TEST(RtfWriterTest, WritesTheStructureInsideTheTemplate) {
    const std::string text = shipped("Template.Doc");
    const RtfTemplate t = *RtfTemplate::parse(text);
    RichDocument doc;
    RichBlock h;
    h.kind = RichBlockKind::Heading;
    h.level = 1;
    h.spans = {span("Title")};
    doc.blocks.push_back(h);
    RichSpan styled = span("styled", true);
    styled.italic = styled.underline = true;
    doc.blocks.push_back(paragraph({span("Plain "), styled, span(" and "), span("a link", false, "http://x.example/a b\"")}));
    for (int i = 1; i <= 2; ++i) {
        RichBlock li;
        li.kind = RichBlockKind::ListItem;
        li.level = i;
        li.numbered = i == 2;
        li.number = 2;
        li.spans = {span("item")};
        doc.blocks.push_back(li);
    }
    RichBlock table;
    table.kind = RichBlockKind::Table;
    table.rows = {{{span("a")}, {span("b")}}, {{span("c")}}};
    doc.blocks.push_back(table);
    RichBlock wide;
    wide.kind = RichBlockKind::Table;
    wide.rows.push_back({});
    for (int i = 0; i < 12; ++i) wide.rows[0].push_back({span("Extraordinarily" + std::to_string(i))});
    doc.blocks.push_back(wide);
    RichBlock pic;
    pic.kind = RichBlockKind::Picture;
    pic.png = std::string("\x89PNG", 4);
    pic.pixelWidth = 2000;
    pic.pixelHeight = 1000;
    doc.blocks.push_back(pic);

    const std::string out = rtf::document(t, doc);
    ASSERT_EQ(out.substr(0, t.header().size()), t.header());
    EXPECT_TRUE(RtfTemplate::parse(out)) << "braces balance";
    const std::string body = out.substr(t.header().size());
    auto has = [&](const std::string& part) { return body.find(part) != std::string::npos; };
    // Paragraphs in the template's normal style, so its default font applies.
    EXPECT_EQ(t.bodyFormat(), "\\s0\\ql\\widctlpar\\f0\\fs24");
    EXPECT_TRUE(has("\\pard\\plain" + t.bodyFormat() + "\\uc1\\sa120 Plain "));
    EXPECT_TRUE(has("\\s" + std::to_string(t.headingStyle(1)) + t.headingFormat(1) + "\\outlinelevel0 Title\\par"));
    EXPECT_TRUE(has("{\\b\\i\\ul styled}"));
    EXPECT_TRUE(has("{\\field{\\*\\fldinst{HYPERLINK \"http://x.example/a%20b%22\"}}{\\fldrslt{\\ul\\cf" +
                    std::to_string(t.linkColour()) + " a link}}}"));
    EXPECT_TRUE(has("{\\pntext \\u8226?\\tab}{\\*\\pn\\pnlvlblt"));
    EXPECT_TRUE(has("{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart2"));
    // The small table as real rows, its short row's cell spanning the width.
    EXPECT_TRUE(has("\\intbl\\uc1 a\\cell"));
    EXPECT_TRUE(has("\\cellx" + std::to_string(t.textWidth()) + "\r\n\\pard\\plain" + t.bodyFormat() + "\\intbl\\uc1 c\\cell"));
    // The wide one as rows of tab-separated cells.
    EXPECT_TRUE(has("Extraordinarily0\\tab Extraordinarily1"));
    EXPECT_EQ(body.find("\\intbl\\uc1 Extraordinarily"), std::string::npos);
    EXPECT_TRUE(has("{\\pict\\pngblip\\picw2000\\pich1000\\picwgoal" + std::to_string(t.textWidth()) +
                    "\\pichgoal" + std::to_string(t.textWidth() / 2) + "\r\n89504e47}"));
    EXPECT_EQ(body.find("Corvano page export"), std::string::npos);

    // Without heading styles in the template: larger and bold.
    const RtfTemplate bare = *RtfTemplate::parse("{\\rtf1\\ansi\\pard\\par}");
    RichDocument one;
    one.blocks.push_back(h);
    EXPECT_NE(rtf::body(bare, one).find("\\b\\fs36\\outlinelevel0 Title"), std::string::npos);
}

TEST(RtfWriterTest, AMegabyteParagraphStaysWhole) {
    const RtfTemplate t = *RtfTemplate::parse(shipped("TemplateH.Doc"));
    std::string big;
    for (int i = 0; i < 100000; ++i) big += "word \xC3\xA9{} ";  // 1.1 MB
    RichDocument doc;
    doc.blocks.push_back(paragraph({span(big)}));
    const std::string out = rtf::document(t, doc);
    EXPECT_NE(out.find("word \\u233?\\{\\} word"), std::string::npos);
    EXPECT_GT(out.size(), big.size());
    EXPECT_TRUE(RtfTemplate::parse(out));
}

}  // namespace
