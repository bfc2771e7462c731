#pragma once

#include "platform/ImageList.h"

namespace corvano {

class Application;

// The main window's 51 pictures, flags keyed on images 30 to 42.
ImageList mainImageList();
// The 13 keyed flags, shared by the main and the browser window's lists.
std::vector<Image> languageFlagImages();

// Fills the language list and creates every entry of the main window.
void Build_MainButtons(Application& app);
// Creates the main window's bars and attaches its three drop-downs.
void Build_MainBars(Application& app);

}  // namespace corvano
