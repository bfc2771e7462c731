#pragma once

#include <optional>
#include <string>

#include "browser/RtfTemplate.h"
#include "platform/Platform.h"
#include "platform/RichText.h"
#include "platform/WordProcessor.h"

namespace corvano {

// Our own word processor: makes RTF documents, which every word processor
// opens whatever their extension. The template's header stays as it is; the
// clipboard's content takes the place of the template's body.
class RtfWordProcessor : public WordProcessor {
public:
    explicit RtfWordProcessor(Clipboard& clipboard) : clipboard_(clipboard) {}

    bool Documents_Open(const std::string& templatePath) override;
    bool Content_Paste() override;
    // Written beside the target first and renamed over it, so a failure
    // leaves no half-written document.
    bool SaveAs(const std::string& path) override;
    void Quit() override;
    const DocumentError& error() const override { return error_; }

    const RichDocument& content() const { return content_; }

private:
    bool fail(DocumentError::Reason reason, const std::string& file);

    Clipboard& clipboard_;
    std::optional<RtfTemplate> template_;
    RichDocument content_;
    DocumentError error_;
};

// Plain text as paragraphs, one a line; blank lines are dropped.
RichDocument plainTextDocument(const std::string& text);

}  // namespace corvano
