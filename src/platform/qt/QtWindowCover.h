#pragma once

class QWidget;

namespace corvano::qt {

// Qt tells nobody on X11 that a window is covered, so the windows' own places
// and their stacking order, kept here as they change, decide it: the pages of
// a window that our other windows hide entirely are told they are hidden and
// stop drawing; they draw again as soon as any part of the window shows.
namespace windowcover {

// Every top-level window of ours, from its creation on.
void add(QWidget* window);
// Raised to the top of its group (below, normal, stays on top).
void raised(QWidget* window);
// Moved, resized, shown, hidden, minimized, restored or gone: looked at again
// once the event loop has finished what it is doing.
void changed();
// As last worked out.
bool covered(const QWidget* window);

}  // namespace windowcover

}  // namespace corvano::qt
