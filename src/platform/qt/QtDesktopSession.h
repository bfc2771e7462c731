#pragma once

namespace corvano::qt {

// Before the application object. On a Wayland session that has an X server
// too (XWayland), Corvano runs on X: Wayland lets no program place its
// windows, learn where they are, keep one on top or make a desktop window.
// The user's own choice (QT_QPA_PLATFORM, -platform) wins. True when it
// chose X; call windowSystemChosen() once the application object exists.
bool chooseWindowSystem(int argc, char** argv);
// Takes the choice back out of the environment, so programs started from
// Corvano (links opened with the desktop's handlers) choose for themselves.
void windowSystemChosen(bool chose);

// The window system tells where windows are and lets them be placed.
bool windowPlacesKnown();

}  // namespace corvano::qt
