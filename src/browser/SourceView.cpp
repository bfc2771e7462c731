#include "browser/SourceView.h"

#include <algorithm>
#include <utility>

namespace corvano {

SourceView::SourceView(std::unique_ptr<MarkupBox> box) : box_(std::move(box)) { box_->setVisible(false); }

void SourceView::ViewSource(WebView& web, const Window& window, int stripHeight) {
    if (shown_) {
        shown_ = false;
        box_->setVisible(false);
        box_->setText("");
        return;
    }
    // Read first: with no page yet, or no answer in time, nothing changes.
    web.outerHtml([this, &window, stripHeight](std::optional<std::string> markup) {
        if (!markup) return;
        const Rect outer = window.geometry();
        box_->setLeft(0);
        box_->setTop(stripHeight + 40);
        // A minimised or tiny window gives an empty box, never a negative one.
        box_->setWidth(std::max(0, outer.width - 100));
        box_->setHeight(std::max(0, outer.height - 850));
        box_->setText(*markup);
        box_->setVisible(true);
        box_->setFocus();
        shown_ = true;
    });
}

}  // namespace corvano
