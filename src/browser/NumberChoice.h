#pragma once

#include "app/AppState.h"

namespace corvano {

struct BrowserNumber {
    int number = 0;      // 0: no number could be found
    bool fresh = false;  // taken from the free numbers; its old files must go
};

// The number a loading browser window takes, with c = the browser count: the
// c-th number in use, or else the first free one, which is marked in use.
BrowserNumber chooseBrowserNumber(AppState& App);

}  // namespace corvano
