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

}  // namespace

std::optional<RtfTemplate> RtfTemplate::parse(const std::string& rtf) {
    if (rtf.rfind("{\\rtf", 0) != 0) return std::nullopt;
    RtfTemplate t;
    Lexer lex(rtf);
    lex.next();  // the document's own group
    int depth = 1;
    std::optional<size_t> bodyStart;
    long paperw = 12240, margl = 1800, margr = 1800;
    std::optional<long> pgwsxn, marglsxn, margrsxn;

    // Reads a group whose "{" has been read, up to its "}"; false when the text ends first.
    auto skipGroup = [&](int& d) {
        const int until = d - 1;
        for (;;) {
            const Token k = lex.next();
            if (k.kind == Token::End) return false;
            if (k.kind == Token::Open) ++d;
            if (k.kind == Token::Close && --d == until) return true;
        }
    };

    auto readColours = [&](int& d) {
        int index = 0;
        long rgb[3] = {-1, -1, -1};
        const int until = d - 1;
        for (;;) {
            const Token k = lex.next();
            if (k.kind == Token::End) return false;
            if (k.kind == Token::Open) ++d;
            if (k.kind == Token::Close && --d == until) return true;
            if (k.kind == Token::Word && k.hasParam) {
                if (k.word == "red") rgb[0] = k.param;
                if (k.word == "green") rgb[1] = k.param;
                if (k.word == "blue") rgb[2] = k.param;
            }
            if (k.kind == Token::Text && k.text == ';') {
                if (t.linkColour_ < 0 && rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 255) t.linkColour_ = index;
                ++index;
                rgb[0] = rgb[1] = rgb[2] = -1;
            }
        }
    };

    auto readStyles = [&](int& d) {
        const int sheet = d;
        long style = -1;
        std::string name, format;
        for (;;) {
            const Token k = lex.next();
            if (k.kind == Token::End) return false;
            if (k.kind == Token::Open) {
                if (++d == sheet + 1) style = -1, name.clear(), format.clear();
                continue;
            }
            if (k.kind == Token::Close) {
                if (d == sheet + 1) {
                    std::string n = lower(trim(name));
                    if (!n.empty() && n.back() == ';') n = trim(n.substr(0, n.size() - 1));
                    // Some writers leave out the number of the normal style.
                    if (style < 0 && n == "normal") style = 0;
                    if (style == 0) t.bodyFormat_ = "\\s0" + format;
                    if (style >= 0 && n.size() == 9 && n.rfind("heading ", 0) == 0 && n[8] >= '1' && n[8] <= '6')
                    {
                        t.headingStyles_[n[8] - '1'] = static_cast<int>(style);
                        t.headingFormats_[n[8] - '1'] = format;
                    }
                }
                if (--d == sheet - 1) return true;
                continue;
            }
            if (d != sheet + 1) continue;
            if (k.kind == Token::Word && k.word == "s" && k.hasParam) style = k.param;
            if (k.kind == Token::Word && !styleBookkeeping(k.word)) {
                format += '\\' + k.word;
                if (k.hasParam) format += std::to_string(k.param);
            }
            if (k.kind == Token::Text) name.push_back(k.text);
        }
    };

    for (;;) {
        const Token k = lex.next();
        if (k.kind == Token::End) return std::nullopt;  // the document's group never closes
        if (depth == 1 && !bodyStart) {
            if (k.kind == Token::Close) {
                bodyStart = k.start;
            } else if (k.kind == Token::Open) {
                const size_t at = k.start;
                Token first = lex.next();
                ++depth;
                if (first.kind == Token::Symbol && first.word == "*") {
                    if (!skipGroup(depth)) return std::nullopt;
                } else if (first.kind == Token::Word && headerGroups().count(first.word)) {
                    bool ok = first.word == "colortbl"     ? readColours(depth)
                              : first.word == "stylesheet" ? readStyles(depth)
                                                           : skipGroup(depth);
                    if (!ok) return std::nullopt;
                } else {
                    bodyStart = at;
                    if (first.kind == Token::Open) ++depth;
                    if (first.kind == Token::Close) --depth;
                }
                continue;
            } else if (k.kind == Token::Text) {
                if (!isBlank(k.text)) bodyStart = k.start;
            } else if (k.kind == Token::Symbol) {
                if (k.word != "*") bodyStart = k.start;
            } else if (k.kind == Token::Word) {
                if (bodyWords().count(k.word)) {
                    bodyStart = k.start;
                } else if (k.word == "landscape" || k.word == "lndscpsxn") {
                    t.landscape_ = true;
                } else if (k.hasParam) {
                    if (k.word == "paperw") paperw = k.param;
                    if (k.word == "margl") margl = k.param;
                    if (k.word == "margr") margr = k.param;
                    if (k.word == "pgwsxn") pgwsxn = k.param;
                    if (k.word == "marglsxn") marglsxn = k.param;
                    if (k.word == "margrsxn") margrsxn = k.param;
                }
            }
        }
        if (k.kind == Token::Open) ++depth;
        if (k.kind == Token::Close && --depth == 0) break;
    }
    // Only blanks may follow the document's group.
    for (size_t i = lex.pos(); i < rtf.size(); ++i)
        if (!isBlank(rtf[i]) && rtf[i] != '\0') return std::nullopt;

    t.header_ = rtf.substr(0, *bodyStart);
    const long width = pgwsxn.value_or(paperw) - marglsxn.value_or(margl) - margrsxn.value_or(margr);
    t.textWidth_ = static_cast<int>(std::clamp(width, 1440L, 31680L));
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
