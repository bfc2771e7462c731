#pragma once

namespace corvano::qt {

// Lets assistive technology see the painted bars: each bar is a tool bar and
// each of its buttons a child with its name, description, role, state and
// press and open-menu actions. Installed once, with the first bar.
void installBarAccessibility();

}  // namespace corvano::qt
