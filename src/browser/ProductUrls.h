#pragma once

namespace corvano::urls {

// The maker's sites: the home page is the default shared home address, the
// second site the first page of a window that has no address of its own.
inline constexpr const char* kMakerHomePage = "https://www.corvano.org/";
inline constexpr const char* kMakerSecondSite = "https://www.corvano.net/";

// Start pages of the search engines; each ends in "/".
inline constexpr const char* kGoogle = "https://www.google.com/";
inline constexpr const char* kAltaVista = "https://www.altavista.com/";
inline constexpr const char* kYahoo = "https://www.yahoo.com/";
inline constexpr const char* kLive = "https://www.bing.com/";
inline constexpr const char* kLygo = "https://www.lygo.com/";

}  // namespace corvano::urls
