#include "bars/BrowserBars.h"

#include "app/Application.h"

namespace corvano {

ImageList browserImageList() { return {}; }

void Build_BrowserButtons(Application&) {}

void Build_BrowserBars(Application&) {}

}  // namespace corvano
