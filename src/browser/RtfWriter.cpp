#include "browser/RtfWriter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace corvano::rtf {

namespace {

constexpr int kHeadingSizes[6] = {36, 32, 28, 26, 24, 22};  // half-points
constexpr int kListIndent = 360;                            // twips per level
constexpr int kCellGap = 108;
// Roughly the width of one character of body text, for fitting tables.
constexpr int kCharWidth = 110;
constexpr int kMinColumn = 480;
constexpr int kTwipsPerPixel = 15;

// Decodes one code point; broken sequences give U+FFFD and move on by one byte.
char32_t nextCodePoint(const std::string& s, size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = len == 1 ? b : b & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<size_t>(len);
    return cp;
}

void appendUnicode(std::string& out, unsigned unit) {
    out += "\\u";
    out += std::to_string(static_cast<int16_t>(static_cast<uint16_t>(unit)));
    out += '?';
}

void appendNumberWord(std::string& out, const char* word, long value) {
    out += '\\';
    out += word;
    out += std::to_string(value);
}

// A link target inside a field instruction: quotes, backslashes, braces,
// blanks and everything beyond ASCII percent-encoded.
std::string fieldAddress(const std::string& url) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (char ch : url) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '\\' || c == '{' || c == '}') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

class Writer {
public:
    Writer(const RtfTemplate& t, std::string& out) : t_(t), out_(out) {}

    void block(const RichBlock& b) {
        switch (b.kind) {
            case RichBlockKind::Paragraph: paragraph(b.spans, "\\sa120"); break;
            case RichBlockKind::Heading: heading(b); break;
            case RichBlockKind::ListItem: listItem(b); break;
            case RichBlockKind::Table: table(b); break;
            case RichBlockKind::Picture: picture(b); break;
        }
    }

    // A paragraph in the template's normal style, with its own formatting after it.
    void paragraph(const RichSpans& spans, const std::string& format, bool normal = true) {
        out_ += "\\pard\\plain";
        if (normal) out_ += t_.bodyFormat();
        out_ += "\\uc1";
        out_ += format;
        out_ += ' ';
        runs(spans);
        out_ += "\\par\r\n";
    }

    void runs(const RichSpans& spans) {
        for (const RichSpan& s : spans) run(s);
    }

private:
    void run(const RichSpan& s) {
        if (s.text.empty()) return;
        if (!s.link.empty()) {
            out_ += "{\\field{\\*\\fldinst{HYPERLINK \"";
            out_ += fieldAddress(s.link);
            out_ += "\"}}{\\fldrslt{\\ul";
            if (t_.linkColour() >= 0) appendNumberWord(out_, "cf", t_.linkColour());
            formatted(s, false);
            out_ += "}}}";
            return;
        }
        const bool plain = !s.bold && !s.italic && !s.underline;
        if (plain) {
            appendText(out_, s.text);
            return;
        }
        out_ += '{';
        formatted(s, s.underline);
        out_ += '}';
    }

    // The span's formatting words, a delimiter, then its text.
    void formatted(const RichSpan& s, bool underline) {
        if (s.bold) out_ += "\\b";
        if (s.italic) out_ += "\\i";
        if (underline) out_ += "\\ul";
        out_ += ' ';
        appendText(out_, s.text);
    }

    void heading(const RichBlock& b) {
        const int level = std::clamp(b.level, 1, 6);
        std::string format;
        // The template's heading style as the user made it, else larger and bold.
        const int style = t_.headingStyle(level);
        if (style >= 0) {
            appendNumberWord(format, "s", style);
            format += t_.headingFormat(level);
        } else {
            format += "\\sb240\\sa120\\keepn\\b";
            appendNumberWord(format, "fs", kHeadingSizes[level - 1]);
        }
        appendNumberWord(format, "outlinelevel", level - 1);
        paragraph(b.spans, format, style < 0);
    }

    // A list paragraph: its marker as text for any reader, and as paragraph
    // numbering, which word processors turn into a real list.
    void listItem(const RichBlock& b) {
        const int level = std::max(1, b.level);
        const int number = std::max(1, b.number);
        std::string format = "{\\pntext ";
        appendText(format, b.numbered ? std::to_string(number) + "." : "\xE2\x80\xA2");
        format += "\\tab}{\\*\\pn";
        if (b.numbered) {
            format += "\\pnlvlbody\\pndec";
            appendNumberWord(format, "pnstart", number);
        } else {
            format += "\\pnlvlblt";
        }
        appendNumberWord(format, "pnindent", kListIndent);
        format += b.numbered ? "{\\pntxta .}}" : "{\\pntxtb\\u8226?}}";
        appendNumberWord(format, "fi", -kListIndent);
        appendNumberWord(format, "li", kListIndent * (level + 1));
        appendNumberWord(format, "tx", kListIndent * (level + 1));
        format += "\\sa60";
        paragraph(b.spans, format);
    }

    // Real table rows when every column gets room for its longest word,
    // otherwise one paragraph per row with the cells separated by tabs.
    void table(const RichBlock& b) {
        size_t columns = 0;
        for (const auto& row : b.rows) columns = std::max(columns, row.size());
        if (columns == 0) return;
        std::vector<int> widths(columns, kMinColumn);
        for (const auto& row : b.rows)
            for (size_t c = 0; c < row.size(); ++c)
                for (const RichSpan& s : row[c]) widths[c] = std::max(widths[c], longestWord(s.text) + 2 * kCellGap);
        long need = 0;
        for (int w : widths) need += w;
        if (need > t_.textWidth()) {
            for (const auto& row : b.rows) tabRow(row);
            return;
        }
        const int extra = static_cast<int>((t_.textWidth() - need) / static_cast<long>(columns));
        for (int& w : widths) w += extra;
        for (const auto& row : b.rows) tableRow(row, widths);
        out_ += "\\pard\\plain\r\n";
    }

    static int longestWord(const std::string& text) {
        size_t best = 0, current = 0, i = 0;
        while (i < text.size()) {
            const char32_t cp = nextCodePoint(text, i);
            if (cp == ' ' || cp == '\n' || cp == '\t') {
                current = 0;
            } else {
                best = std::max(best, ++current);
            }
        }
        return static_cast<int>(std::min<size_t>(best, 300)) * kCharWidth;
    }

    void tableRow(const std::vector<RichSpans>& row, const std::vector<int>& widths) {
        out_ += "\\trowd";
        appendNumberWord(out_, "trgaph", kCellGap);
        out_ += "\\trleft0";
        const size_t cells = std::min(std::max<size_t>(row.size(), 1), widths.size());
        long total = 0;
        for (int w : widths) total += w;
        long right = 0;
        for (size_t c = 0; c < cells; ++c) {
            right += widths[c];
            out_ += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
            // A short row's last cell spans the rest of the table.
            appendNumberWord(out_, "cellx", c + 1 == cells ? total : right);
        }
        out_ += "\r\n";
        for (size_t c = 0; c < cells; ++c) {
            out_ += "\\pard\\plain";
            out_ += t_.bodyFormat();
            out_ += "\\intbl\\uc1 ";
            if (c < row.size()) runs(row[c]);
            out_ += "\\cell\r\n";
        }
        out_ += "\\row\r\n";
    }

    void tabRow(const std::vector<RichSpans>& row) {
        RichSpans joined;
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0) joined.push_back(RichSpan::plain("\t"));
            for (RichSpan s : row[c]) {
                std::replace(s.text.begin(), s.text.end(), '\n', ' ');
                std::replace(s.text.begin(), s.text.end(), '\t', ' ');
                joined.push_back(std::move(s));
            }
        }
        paragraph(joined, "\\sa60");
    }

    void picture(const RichBlock& b) {
        if (b.png.empty() || b.pixelWidth <= 0 || b.pixelHeight <= 0) return;
        long w = static_cast<long>(b.pixelWidth) * kTwipsPerPixel;
        long h = static_cast<long>(b.pixelHeight) * kTwipsPerPixel;
        if (w > t_.textWidth()) {
            h = h * t_.textWidth() / w;
            w = t_.textWidth();
        }
        out_ += "\\pard\\plain\\sa120{\\pict\\pngblip";
        appendNumberWord(out_, "picw", b.pixelWidth);
        appendNumberWord(out_, "pich", b.pixelHeight);
        appendNumberWord(out_, "picwgoal", w);
        appendNumberWord(out_, "pichgoal", std::max(1L, h));
        out_ += "\r\n";
        static const char* hex = "0123456789abcdef";
        size_t n = 0;
        for (char ch : b.png) {
            const auto c = static_cast<unsigned char>(ch);
            out_ += hex[c >> 4];
            out_ += hex[c & 15];
            if (++n % 64 == 0) out_ += "\r\n";
        }
        out_ += "}\\par\r\n";
    }

    const RtfTemplate& t_;
    std::string& out_;
};

}  // namespace

void appendText(std::string& out, const std::string& utf8) {
    size_t i = 0;
    while (i < utf8.size()) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (cp == '\\' || cp == '{' || cp == '}') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == '\n') {
            out += "\\line ";
        } else if (cp == '\t') {
            out += "\\tab ";
        } else if (cp < 0x20 || cp == 0x7F) {
            // control characters have no place in a document
        } else if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp <= 0xFFFF) {
            appendUnicode(out, static_cast<unsigned>(cp));
        } else {
            const char32_t v = cp - 0x10000;
            appendUnicode(out, 0xD800 + static_cast<unsigned>(v >> 10));
            appendUnicode(out, 0xDC00 + static_cast<unsigned>(v & 0x3FF));
        }
    }
}

std::string body(const RtfTemplate& tmpl, const RichDocument& content) {
    std::string out;
    size_t estimate = 64;
    for (const RichBlock& b : content.blocks) {
        estimate += 64 + b.png.size() * 2;
        for (const RichSpan& s : b.spans) estimate += s.text.size() + 16;
    }
    out.reserve(estimate);
    out += "\r\n";
    Writer w(tmpl, out);
    for (const RichBlock& b : content.blocks) w.block(b);
    // A document ends with a paragraph of its own, so the last block keeps its form.
    w.paragraph({}, "");
    return out;
}

std::string document(const RtfTemplate& tmpl, const RichDocument& content) {
    std::string out = tmpl.header();
    out += body(tmpl, content);
    out += "}\r\n";
    return out;
}

}  // namespace corvano::rtf
