#pragma once

#include <string>
#include <vector>

namespace corvano {

// Where Corvano reads and writes its files.
struct AppFolders {
    std::string appPath;      // settings, languages, templates, pictures
    std::string shippedPath;  // the language files and templates as shipped
    bool installed = false;
};

// The folder for per-user data: XDG_DATA_HOME when it is absolute, else
// HOME + "/.local/share"; empty when neither is known.
std::string userDataHome(const std::string& xdgDataHome, const std::string& home);

// A folder that holds the shipped language files beside the executable (the
// build folder, a copy anywhere) is the application folder. An installed
// Corvano finds them in ../share/corvano and keeps each user's files in
// dataHome + "/corvano". With neither, the executable's folder.
AppFolders chooseAppFolders(const std::string& exeDir, const std::string& dataHome);

// Brings the shipped language files and templates into the application
// folder: a missing one is copied, one left as it was copied is replaced by a
// newer shipped one, one the user changed is kept. What was copied is
// recorded in appPath + "/Data/Shipped.lst". Returns the names that could not
// be written.
std::vector<std::string> seedAppFolder(const std::string& shippedPath, const std::string& appPath);

// True for the names seeding copies: Lang_*.txt and Template*.Doc, any case.
bool isShippedFileName(const std::string& name);

}  // namespace corvano
