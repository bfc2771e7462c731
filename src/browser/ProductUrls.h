#pragma once

#include "app/MakerUrls.h"

namespace corvano::urls {

// Start pages of the search engines; each ends in "/".
inline constexpr const char* kGoogle = "https://www.google.com/";
inline constexpr const char* kAltaVista = "https://www.altavista.com/";
inline constexpr const char* kYahoo = "https://www.yahoo.com/";
inline constexpr const char* kLive = "https://www.bing.com/";
inline constexpr const char* kLygo = "https://www.lygo.com/";

}  // namespace corvano::urls
