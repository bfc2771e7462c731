#pragma once

#include <QKeySequence>
#include <QList>

#include "platform/Shortcuts.h"

class QWidget;

namespace corvano {
class WindowEvents;
}

namespace corvano::qt {

// The desktop's own key sequences for a shortcut first, then the ones every
// desktop browser knows; no sequence twice.
QList<QKeySequence> keySequences(Shortcut which);

// Binds every browser shortcut on the window (whichever child has the focus)
// and the mouse's back and forward buttons and Ctrl+wheel inside it.
void bindBrowserShortcuts(QWidget* window, WindowEvents& events);

}  // namespace corvano::qt
