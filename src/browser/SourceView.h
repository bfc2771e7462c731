#pragma once

namespace corvano {

class Application;
class frmStart;

// Shows the markup of the page a browser window holds in the box over the
// page, or hides and empties that box, switched by one flag shared by every
// window: after window 1 showed its source, the first call in window 2 only
// clears the flag.
void ViewSource(Application& app, frmStart& window);

}  // namespace corvano
