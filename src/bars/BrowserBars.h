#pragma once

#include <optional>
#include <string>

#include "platform/ImageList.h"

namespace corvano {

class Application;
class StringTable;

// The refresh intervals a window offers, in seconds; 0 never.
constexpr int kRefreshChoices[] = {0, 30, 60, 120, 300, 600, 900, 1800, 3600};
// The key of the "EVERY" drop-down's entry for an interval ("EVERY:300"), and back.
std::string refreshChoiceKey(int seconds);
std::optional<int> refreshChoiceOf(const std::string& key);
// "Never", "30 seconds", "5 minutes" in the current language.
std::string refreshChoiceText(const StringTable& texts, int seconds);

// The browser window's 119 pictures, flags keyed on images 107 to 119.
ImageList browserImageList();

// Create the browser windows' entries and bars; once per process.
void Build_BrowserButtons(Application& app);
void Build_BrowserBars(Application& app);

}  // namespace corvano
