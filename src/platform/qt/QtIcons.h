#pragma once

#include <QIcon>
#include <string>

namespace corvano::qt {

// The picture of an image-list source: "theme:NAME" from the Oxygen icon
// theme, "flag:CODE" from the flag set, "res:NAME" from our own resources.
// A source that cannot be found gives a null icon (an empty space).
QIcon barIcon(const std::string& source);

// The resource file of a "res:NAME" source (an SVG); empty for any other.
QString resourceSvg(const std::string& source);
// Corvano's own icon, on every window.
QIcon productIcon();

}  // namespace corvano::qt
