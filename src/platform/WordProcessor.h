#pragma once

#include <string>

namespace corvano {

// Why a word-processor call failed, and on which file.
struct DocumentError {
    enum Reason {
        None,
        TemplateUnreadable,  // missing, or not readable
        TemplateNotRtf,
        NoPermission,
        DiskFull,
        NoFolder,
        WriteFailed,
        NothingOpen,
    };
    Reason reason = None;
    std::string file;
};

// A word processor driven from outside, one document at a time: open a
// template as the document, paste the clipboard into its content, save it
// under a name, quit. Each call returns false when it fails; error() tells why.
class WordProcessor {
public:
    virtual ~WordProcessor() = default;
    virtual bool Documents_Open(const std::string& templatePath) = 0;
    virtual bool Content_Paste() = 0;
    virtual bool SaveAs(const std::string& path) = 0;
    virtual void Quit() = 0;
    virtual const DocumentError& error() const = 0;
};

}  // namespace corvano
