#include "browser/SourceView.h"

#include <algorithm>
#include <memory>

#include "app/Application.h"
#include "browser/frmStart.h"

namespace corvano {

void ViewSource(Application& app, frmStart& w) {
    AppState& App = app.App;
    MarkupBox& box = w.txtSource();
    if (App.sourceShown) {
        App.sourceShown = false;
        box.setVisible(false);
        box.setText("");
        return;
    }
    // Read first: with no page yet, or no answer in time, nothing changes.
    // The view drops the answer when it goes, so the window is still there.
    w.Web().outerHtml([&app, &w](std::optional<std::string> markup) {
        if (!markup) return;
        MarkupBox& shown = w.txtSource();
        const Rect outer = w.window().geometry();
        shown.setLeft(0);
        shown.setTop(w.picBar().height() + 40);
        // A minimised or tiny window gives an empty box, never a negative one.
        shown.setWidth(std::max(0, outer.width - 100));
        shown.setHeight(std::max(0, outer.height - 850));
        shown.setText(*markup);
        shown.setVisible(true);
        shown.setFocus();
        app.App.sourceShown = true;
    });
}

}  // namespace corvano
