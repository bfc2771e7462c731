#include "browser/RtfWordProcessor.h"

#include <cerrno>

#include "app/TextFile.h"
#include "browser/RtfWriter.h"

namespace corvano {

namespace {

bool blank(const std::string& s) { return s.find_first_not_of(" \t\r\n") == std::string::npos; }

}  // namespace

RichDocument plainTextDocument(const std::string& text) {
    RichDocument doc;
    for (const std::string& line : textfile::splitLines(text)) {
        if (blank(line)) continue;
        RichBlock b;
        b.spans.push_back(RichSpan::plain(line));
        doc.blocks.push_back(std::move(b));
    }
    return doc;
}

bool RtfWordProcessor::fail(DocumentError::Reason reason, const std::string& file) {
    error_ = {reason, file};
    return false;
}

bool RtfWordProcessor::Documents_Open(const std::string& templatePath) {
    template_.reset();
    const auto data = textfile::readAll(templatePath);
    if (!data) return fail(DocumentError::TemplateUnreadable, templatePath);
    template_ = RtfTemplate::parse(*data);
    if (!template_) return fail(DocumentError::TemplateNotRtf, templatePath);
    error_ = {};
    return true;
}

bool RtfWordProcessor::Content_Paste() {
    content_ = clipboard_.richContent();
    if (content_.empty()) content_ = plainTextDocument(clipboard_.text());
    return true;
}

bool RtfWordProcessor::SaveAs(const std::string& path) {
    if (!template_) return fail(DocumentError::NothingOpen, path);
    errno = 0;
    if (textfile::writeAtomic(path, rtf::document(*template_, content_))) return true;
    switch (errno) {
        case EACCES:
        case EPERM:
        case EROFS: return fail(DocumentError::NoPermission, path);
        case ENOSPC:
        case EDQUOT: return fail(DocumentError::DiskFull, path);
        case ENOENT:
        case ENOTDIR: return fail(DocumentError::NoFolder, path);
        default: return fail(DocumentError::WriteFailed, path);
    }
}

void RtfWordProcessor::Quit() {
    template_.reset();
    content_ = {};
}

}  // namespace corvano
