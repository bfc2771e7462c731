#pragma once

#include <optional>
#include <string>

namespace corvano {

// A document template in RTF: what the export keeps of it (everything before
// the first paragraph: font table, colours, styles, page size, orientation,
// margins, page header and footer) and what the export needs to know of it.
class RtfTemplate {
public:
    // Nothing when the text is not an RTF document.
    static std::optional<RtfTemplate> parse(const std::string& rtf);

    // The template up to where its body begins, byte for byte.
    const std::string& header() const { return header_; }
    // Width between the margins, in twips.
    int textWidth() const { return textWidth_; }
    bool landscape() const { return landscape_; }
    // Number of the paragraph style named "heading N" (1..6), or -1.
    int headingStyle(int level) const;
    // That style's paragraph and character formatting, as control words.
    const std::string& headingFormat(int level) const;
    // The style of ordinary paragraphs (number 0, "Normal") with its
    // formatting, as control words: the template's default font and size.
    const std::string& bodyFormat() const { return bodyFormat_; }
    // Index of pure blue in the colour table, or -1.
    int linkColour() const { return linkColour_; }

private:
    class Reader;
    std::string header_;
    int textWidth_ = 0;
    bool landscape_ = false;
    int headingStyles_[6] = {-1, -1, -1, -1, -1, -1};
    std::string headingFormats_[6];
    std::string bodyFormat_;
    int linkColour_ = -1;
};

}  // namespace corvano
