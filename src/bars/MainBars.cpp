#include "bars/MainBars.h"

#include "app/Application.h"

namespace corvano {

ImageList mainImageList() { return {}; }

void Build_MainButtons(Application&) {}

void Build_MainBars(Application&) {}

}  // namespace corvano
