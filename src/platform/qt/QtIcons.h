#pragma once

#include <QIcon>
#include <string>

namespace corvano::qt {

// The picture of an image-list source: "theme:NAME" from the Oxygen icon
// theme, "flag:CODE" from the flag set, "res:NAME" from our own resources.
// A source that cannot be found gives a null icon (an empty space).
QIcon barIcon(const std::string& source);

}  // namespace corvano::qt
