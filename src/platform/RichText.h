#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvano {

// Page content as the clipboard gives it, free of any toolkit, so that a
// document writer can take it as it is. Texts are UTF-8.

// A piece of text with one formatting; "\n" inside it is a line break.
struct RichSpan {
    static RichSpan plain(std::string text) {
        RichSpan s;
        s.text = std::move(text);
        return s;
    }
    std::string text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // The link's target; empty when the text is no link.
    std::string link;
};

using RichSpans = std::vector<RichSpan>;

enum class RichBlockKind { Paragraph, Heading, ListItem, Table, Picture };

struct RichBlock {
    RichBlockKind kind = RichBlockKind::Paragraph;
    // Heading: 1 (largest) to 6. List item: nesting depth from 1.
    int level = 0;
    // List item: numbered (with its number) or bulleted.
    bool numbered = false;
    int number = 0;
    RichSpans spans;
    // Table: rows of cells.
    std::vector<std::vector<RichSpans>> rows;
    // Picture: PNG bytes and its size in pixels.
    std::string png;
    int pixelWidth = 0;
    int pixelHeight = 0;
};

struct RichDocument {
    std::vector<RichBlock> blocks;
    bool empty() const { return blocks.empty(); }
};

}  // namespace corvano
