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
    const auto alive = w.aliveToken();
    const auto markup = w.Web().outerHtml();
    if (!*alive || w.unloaded() || !markup) return;
    const Rect outer = w.window().geometry();
    box.setLeft(0);
    box.setTop(w.picBar().height() + 40);
    // A minimised or tiny window gives an empty box, never a negative one.
    box.setWidth(std::max(0, outer.width - 100));
    box.setHeight(std::max(0, outer.height - 850));
    box.setText(*markup);
    box.setVisible(true);
    box.setFocus();
    App.sourceShown = true;
}

}  // namespace corvano
