#include "browser/RtfTemplate.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

namespace corvano {

namespace {

struct Token {
    enum Kind { Open, Close, Word, Symbol, Text, End } kind = End;
    std::string word;  // control word, or the symbol's character
    bool hasParam = false;
    long param = 0;
    size_t start = 0;
    char text = 0;
};

// Reads RTF one token at a time; text comes one character at a time.
class Lexer {
public:
    explicit Lexer(const std::string& s) : s_(s) {}
    size_t pos() const { return i_; }

    Token next() {
        Token t;
        t.start = i_;
        if (i_ >= s_.size()) return t;
        const char c = s_[i_++];
        if (c == '{') return t.kind = Token::Open, t;
        if (c == '}') return t.kind = Token::Close, t;
        if (c != '\\') {
            t.kind = Token::Text;
            t.text = c;
            return t;
        }
        if (i_ >= s_.size()) return t.kind = Token::Symbol, t;
        if (!std::isalpha(static_cast<unsigned char>(s_[i_]))) {
            t.kind = Token::Symbol;
            t.word = std::string(1, s_[i_++]);
            if (t.word == "'") i_ = std::min(s_.size(), i_ + 2);
            return t;
        }
        t.kind = Token::Word;
        while (i_ < s_.size() && std::isalpha(static_cast<unsigned char>(s_[i_]))) t.word.push_back(s_[i_++]);
        const size_t digits = i_;
        if (i_ < s_.size() && s_[i_] == '-') ++i_;
        while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) ++i_;
        if (i_ > digits && std::isdigit(static_cast<unsigned char>(s_[i_ - 1]))) {
            t.hasParam = true;
            t.param = std::strtol(s_.c_str() + digits, nullptr, 10);
        } else {
            i_ = digits;
        }
        if (i_ < s_.size() && s_[i_] == ' ') ++i_;
        // Binary data follows its control word directly.
        if (t.word == "bin" && t.hasParam && t.param > 0)
            i_ = std::min(s_.size(), i_ + static_cast<size_t>(t.param));
        return t;
    }

private:
    const std::string& s_;
    size_t i_ = 0;
};

// Groups directly inside the document that belong before its first paragraph.
const std::set<std::string>& headerGroups() {
    static const std::set<std::string> names = {
        "fonttbl", "colortbl", "stylesheet", "info",    "listtable", "listoverridetable", "rsidtbl",
        "revtbl",  "filetbl",  "header",     "headerl", "headerr",   "headerf",           "footer",
        "footerl", "footerr",  "footerf",    "pgdsctbl", "latentstyles", "xmlnstbl",      "pnseclvl",
    };
    return names;
}

// Control words that begin the body: paragraphs, tables, text.
const std::set<std::string>& bodyWords() {
    static const std::set<std::string> names = {
        "pard", "par", "plain", "line", "tab", "page", "sect", "trowd", "intbl", "u", "cell", "row",
        "bullet", "emdash", "endash", "lquote", "rquote", "ldblquote", "rdblquote",
    };
    return names;
}

// Words of a style definition that name or link the style rather than format text.
bool styleBookkeeping(const std::string& w) {
    static const std::set<std::string> names = {
        "s",          "sbasedon", "snext",  "slink",    "sqformat", "spriority", "ssemihidden", "sunhideused",
        "styrsid",    "slocked",  "additive", "shidden", "spersonal", "scompose", "sreply",    "sautoupd",
    };
    return names.count(w) > 0;
}

bool isBlank(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && isBlank(s[a])) ++a;
    while (b > a && isBlank(s[b - 1])) --b;
    return s.substr(a, b - a);
}

// The page words of the header: paper width, margins and orientation, of
// the document or of its first section.
class PageWords {
public:
    void take(const Token& k) {
        if (k.word == "landscape" || k.word == "lndscpsxn") landscape_ = true;
        if (!k.hasParam) return;
        if (k.word == "paperw") paperw_ = k.param;
        if (k.word == "margl") margl_ = k.param;
        if (k.word == "margr") margr_ = k.param;
        if (k.word == "pgwsxn") pgwsxn_ = k.param;
        if (k.word == "marglsxn") marglsxn_ = k.param;
        if (k.word == "margrsxn") margrsxn_ = k.param;
    }
    bool landscape() const { return landscape_; }
    // Between the margins, within the sizes a page can have.
    int textWidth() const {
        const long width = pgwsxn_.value_or(paperw_) - marglsxn_.value_or(margl_) - margrsxn_.value_or(margr_);
        return static_cast<int>(std::clamp(width, 1440L, 31680L));
    }

private:
    long paperw_ = 12240, margl_ = 1800, margr_ = 1800;
    std::optional<long> pgwsxn_, marglsxn_, margrsxn_;
    bool landscape_ = false;
};

}  // namespace

// Reads a template from its first token to the end of the document's group:
// the groups and words before the body, where the body begins, and the rest
// only to find the group's end.
class RtfTemplate::Reader {
public:
    Reader(const std::string& rtf, RtfTemplate& t) : rtf_(rtf), lex_(rtf), t_(t) {}

    // False when the document's group never closes.
    bool readDocument() {
        lex_.next();  // the document's own group
        for (;;) {
            const Token k = lex_.next();
            if (k.kind == Token::End) return false;
            if (depth_ == 1 && !bodyStart_) {
                if (k.kind == Token::Open) {
                    if (!readTopGroup(k.start)) return false;
                    continue;
                }
                readTopToken(k);
            }
            if (k.kind == Token::Open) ++depth_;
            if (k.kind == Token::Close && --depth_ == 0) return true;
        }
    }

    // Only blanks may follow the document's group.
    bool onlyBlanksFollow() const {
        for (size_t i = lex_.pos(); i < rtf_.size(); ++i)
            if (!isBlank(rtf_[i]) && rtf_[i] != '\0') return false;
        return true;
    }

    // Where the body begins; the document's end when it has none.
    size_t bodyStart() const { return bodyStart_.value_or(rtf_.size()); }
    const PageWords& page() const { return page_; }

private:
    // A token directly inside the document, before the body: the body's
    // first token, or one of the page's words.
    void readTopToken(const Token& k) {
        switch (k.kind) {
            case Token::Close: bodyStart_ = k.start; break;
            case Token::Text:
                if (!isBlank(k.text)) bodyStart_ = k.start;
                break;
            case Token::Symbol:
                if (k.word != "*") bodyStart_ = k.start;
                break;
            case Token::Word:
                if (bodyWords().count(k.word))
                    bodyStart_ = k.start;
                else
                    page_.take(k);
                break;
            default: break;
        }
    }

    // A group directly inside the document, before the body, whose "{" at
    // `at` has been read: a header group is read or passed over, any other
    // begins the body. False when the text ends inside it.
    bool readTopGroup(size_t at) {
        const Token first = lex_.next();
        ++depth_;
        if (first.kind == Token::Symbol && first.word == "*") return skipGroup();
        if (first.kind == Token::Word && headerGroups().count(first.word)) {
            if (first.word == "colortbl") return readColourTable();
            if (first.word == "stylesheet") return readStyleSheet();
            return skipGroup();
        }
        bodyStart_ = at;
        if (first.kind == Token::Open) ++depth_;
        if (first.kind == Token::Close) --depth_;
        return true;
    }

    // Reads a group whose "{" has been read, up to its "}"; false when the text ends first.
    bool skipGroup() {
        const int until = depth_ - 1;
        for (;;) {
            const Token k = lex_.next();
            if (k.kind == Token::End) return false;
            if (k.kind == Token::Open) ++depth_;
            if (k.kind == Token::Close && --depth_ == until) return true;
        }
    }

    // The colour table: finds the first pure blue, for links.
    bool readColourTable() {
        int index = 0;
        long rgb[3] = {-1, -1, -1};
        const int until = depth_ - 1;
        for (;;) {
            const Token k = lex_.next();
            if (k.kind == Token::End) return false;
            if (k.kind == Token::Open) ++depth_;
            if (k.kind == Token::Close && --depth_ == until) return true;
            if (k.kind == Token::Word && k.hasParam) {
                if (k.word == "red") rgb[0] = k.param;
                if (k.word == "green") rgb[1] = k.param;
                if (k.word == "blue") rgb[2] = k.param;
            }
            if (k.kind == Token::Text && k.text == ';') {
                if (t_.linkColour_ < 0 && rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 255) t_.linkColour_ = index;
                ++index;
                rgb[0] = rgb[1] = rgb[2] = -1;
            }
        }
    }

    // The style sheet: one group per style, its number, formatting and name.
    bool readStyleSheet() {
        const int sheet = depth_;
        long style = -1;
        std::string name, format;
        for (;;) {
            const Token k = lex_.next();
            if (k.kind == Token::End) return false;
            if (k.kind == Token::Open) {
                if (++depth_ == sheet + 1) style = -1, name.clear(), format.clear();
                continue;
            }
            if (k.kind == Token::Close) {
                if (depth_ == sheet + 1) takeStyle(style, name, format);
                if (--depth_ == sheet - 1) return true;
                continue;
            }
            if (depth_ != sheet + 1) continue;
            if (k.kind == Token::Word && k.word == "s" && k.hasParam) style = k.param;
            if (k.kind == Token::Word && !styleBookkeeping(k.word)) {
                format += '\\' + k.word;
                if (k.hasParam) format += std::to_string(k.param);
            }
            if (k.kind == Token::Text) name.push_back(k.text);
        }
    }

    // Keeps a style the export uses: the normal one and headings 1 to 6.
    void takeStyle(long style, const std::string& rawName, const std::string& format) {
        std::string n = lower(trim(rawName));
        if (!n.empty() && n.back() == ';') n = trim(n.substr(0, n.size() - 1));
        // Some writers leave out the number of the normal style.
        if (style < 0 && n == "normal") style = 0;
        if (style == 0) t_.bodyFormat_ = "\\s0" + format;
        if (style >= 0 && n.size() == 9 && n.rfind("heading ", 0) == 0 && n[8] >= '1' && n[8] <= '6') {
            t_.headingStyles_[n[8] - '1'] = static_cast<int>(style);
            t_.headingFormats_[n[8] - '1'] = format;
        }
    }

    const std::string& rtf_;
    Lexer lex_;
    RtfTemplate& t_;
    int depth_ = 1;
    std::optional<size_t> bodyStart_;
    PageWords page_;
};

std::optional<RtfTemplate> RtfTemplate::parse(const std::string& rtf) {
    if (rtf.rfind("{\\rtf", 0) != 0) return std::nullopt;
    RtfTemplate t;
    Reader reader(rtf, t);
    if (!reader.readDocument() || !reader.onlyBlanksFollow()) return std::nullopt;
    t.header_ = rtf.substr(0, reader.bodyStart());
    t.textWidth_ = reader.page().textWidth();
    t.landscape_ = reader.page().landscape();
    return t;
}

const std::string& RtfTemplate::headingFormat(int level) const {
    static const std::string none;
    if (level < 1 || level > 6) return none;
    return headingFormats_[level - 1];
}

int RtfTemplate::headingStyle(int level) const {
    if (level < 1 || level > 6) return -1;
    return headingStyles_[level - 1];
}

}  // namespace corvano
