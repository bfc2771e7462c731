#pragma once

#include "bars/ImageList.h"

namespace corvano {

class Application;

// The browser window's 119 pictures, flags keyed on images 107 to 119.
ImageList browserImageList();

// Create the browser windows' entries and bars; once per process.
void Build_BrowserButtons(Application& app);
void Build_BrowserBars(Application& app);

}  // namespace corvano
