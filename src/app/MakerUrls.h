#pragma once

namespace corvano::urls {

// The maker's sites: the home page is the default shared home address, the
// second site the first page of a window that has no address of its own and
// the site the About window links to.
inline constexpr const char* kMakerHomePage = "https://www.corvano.org/";
inline constexpr const char* kMakerSecondSite = "https://www.corvano.net/";

}  // namespace corvano::urls
