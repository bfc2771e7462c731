#pragma once

#include <string>
#include <vector>

#include "platform/ImageList.h"

namespace corvano {

// One language file found in the application folder.
struct LanguageFile {
    std::string fileName;  // as found, without folder
    std::string name;      // between the first "_" and the first "."
};

constexpr int kMaxLanguages = 20;

// The files named "Lang_" + anything (any case) in the folder, in name order
// ignoring case, as a Windows folder listing gives them. A name without a "."
// after its first "_" is left out. Unreadable folder: none.
std::vector<std::string> languageFileNames(const std::string& folder);

// The language name of a file name; false when it has no "." after the first "_".
bool languageNameOf(const std::string& fileName, std::string& name);

// The icon of a language: the first image from image 28 on whose key begins
// with the same two letters; else 29, the image keyed "pea".
int languageIcon(const ImageList& images, const std::string& name);

// First letter of each word upper case, the rest lower case.
std::string properCase(const std::string& text);

}  // namespace corvano
