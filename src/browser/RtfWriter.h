#pragma once

#include <string>

#include "browser/RtfTemplate.h"
#include "platform/RichText.h"

namespace corvano {

// Writes page content as RTF that word processors open: the template's
// header as it stands, then the content as the document's body.
namespace rtf {

// The whole document.
std::string document(const RtfTemplate& tmpl, const RichDocument& content);

// The body alone, without the closing brace of the document.
std::string body(const RtfTemplate& tmpl, const RichDocument& content);

// UTF-8 text as RTF text: "\", "{" and "}" escaped, tabs and line breaks as
// control words, everything beyond ASCII as Unicode escapes (characters
// beyond 16 bits as two surrogates). Other control characters are dropped;
// broken UTF-8 becomes U+FFFD.
void appendText(std::string& out, const std::string& utf8);

}  // namespace rtf
}  // namespace corvano
