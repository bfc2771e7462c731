#pragma once

#include <memory>

#include "platform/MarkupBox.h"
#include "platform/WebView.h"
#include "platform/Window.h"

namespace corvano {

// A browser window's view of its page's markup, in the box over the page.
// Each window switches its own.
class SourceView {
public:
    explicit SourceView(std::unique_ptr<MarkupBox> box);
    // Shows the markup of the page below the strip of the given height, or
    // hides and empties the box when it shows already. With no page yet, or
    // no answer in time, nothing changes. The view drops its answer when it
    // goes, so this object must outlive it.
    void ViewSource(WebView& web, const Window& window, int stripHeight);
    MarkupBox& box() { return *box_; }

private:
    std::unique_ptr<MarkupBox> box_;
    bool shown_ = false;
};

}  // namespace corvano
