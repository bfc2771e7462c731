#pragma once

namespace corvano {

// The keys a browser window answers as desktop browsers do. The platform
// binds each one to the desktop's own key sequences and reports it to the
// window's Form_Shortcut.
enum class Shortcut {
    FocusAddress,          // Ctrl+L, Alt+D, F6
    Find,                  // Ctrl+F
    FindNext,              // F3
    FindPrevious,          // Shift+F3
    Reload,                // F5, Ctrl+R
    ReloadBypassingCache,  // Ctrl+F5
    Stop,                  // Escape
    Back,                  // Alt+Left, the mouse's back button
    Forward,               // Alt+Right, the mouse's forward button
    Print,                 // Ctrl+P
    Save,                  // Ctrl+S
    ViewSource,            // Ctrl+U
    NewWindow,             // Ctrl+N
    CloseWindow,           // Ctrl+W
    ZoomIn,                // Ctrl+plus, Ctrl+wheel up
    ZoomOut,               // Ctrl+minus, Ctrl+wheel down
    ZoomReset,             // Ctrl+0
    FullScreen,            // F11
    ToggleBars,            // Ctrl+Shift+B
};

}  // namespace corvano
