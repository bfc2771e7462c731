#include <gtest/gtest.h>

#include "app/AppFolder.h"
#include "app/AppState.h"
#include "app/LangFile.h"
#include "fakes/TempFolder.h"

using namespace corvano;

TEST(AppFolder, PortableFolderInstalledTreeOrTheExecutablesFolder) {
    test::TempFolder root;
    const std::string home = root.file("/home/.local/share");

    // A folder with the language files beside the program keeps everything there.
    root.write("/portable/lang_English.TXT", "\"Back\"");
    AppFolders f = chooseAppFolders(root.file("/portable"), home);
    EXPECT_EQ(f.appPath, root.file("/portable"));
    EXPECT_EQ(f.shippedPath, root.file("/portable"));
    EXPECT_FALSE(f.installed);

    // Installed: the shipped files under ../share/corvano, the user's in the data home.
    root.write("/usr/share/corvano/Lang_english.txt", "\"Back\"");
    root.write("/usr/bin/corvano", "");
    f = chooseAppFolders(root.file("/usr/bin"), home);
    EXPECT_EQ(f.appPath, home + "/corvano");
    EXPECT_EQ(f.shippedPath, root.file("/usr/share/corvano"));
    EXPECT_TRUE(f.installed);

    // Nothing shipped anywhere: the executable's folder, as before.
    f = chooseAppFolders(root.file("/home"), home);
    EXPECT_EQ(f.appPath, root.file("/home"));
    EXPECT_FALSE(f.installed);

    EXPECT_EQ(userDataHome("/x/data", "/home/u"), "/x/data");
    EXPECT_EQ(userDataHome("relative", "/home/u"), "/home/u/.local/share") << "a relative value is ignored";
    EXPECT_EQ(userDataHome("", "/home/u"), "/home/u/.local/share");
    EXPECT_EQ(userDataHome("", ""), "");
}

TEST(AppFolder, SeedingCopiesOnceReplacesUntouchedCopiesAndKeepsTheUsersChanges) {
    test::TempFolder root;
    const std::string shipped = root.file("/share"), app = root.file("/user");
    root.write("/share/Lang_english.txt", "en 1");
    root.write("/share/Lang_deutsch.txt", "de 1");
    root.write("/share/Template.Doc", "portrait 1");
    root.write("/share/TemplateH.Doc", "landscape 1");
    root.write("/share/README", "not a shipped file");
    root.write("/user/Lang_italiano.txt", "the user's own");

    EXPECT_TRUE(seedAppFolder(shipped, app).empty());
    EXPECT_EQ(root.read("/user/Lang_english.txt"), "en 1");
    EXPECT_EQ(root.read("/user/TemplateH.Doc"), "landscape 1");
    EXPECT_FALSE(root.exists("/user/README"));
    EXPECT_TRUE(root.exists("/user/Data/Shipped.lst"));

    // The user changes a template and deletes a language file.
    root.write("/user/Template.Doc", "my letterhead");
    std::filesystem::remove(root.file("/user/Lang_deutsch.txt"));
    // A newer Corvano ships new texts.
    root.write("/share/Lang_english.txt", "en 2");
    root.write("/share/Template.Doc", "portrait 2");
    root.write("/share/TemplateH.Doc", "landscape 2");
    root.write("/share/Lang_italiano.txt", "it 2");

    EXPECT_TRUE(seedAppFolder(shipped, app).empty());
    EXPECT_EQ(root.read("/user/Lang_english.txt"), "en 2") << "an untouched copy follows the program";
    EXPECT_EQ(root.read("/user/TemplateH.Doc"), "landscape 2");
    EXPECT_EQ(root.read("/user/Template.Doc"), "my letterhead") << "a changed file is never replaced";
    EXPECT_EQ(root.read("/user/Lang_deutsch.txt"), "de 1") << "a missing one comes back";
    EXPECT_EQ(root.read("/user/Lang_italiano.txt"), "the user's own") << "never copied, never replaced";

    // Still changed at the next start, and the next after a newer program.
    root.write("/share/Template.Doc", "portrait 3");
    seedAppFolder(shipped, app);
    EXPECT_EQ(root.read("/user/Template.Doc"), "my letterhead");
}

TEST(AppFolder, TextsAnOlderLanguageFileLacksComeFromTheShippedEnglishFile) {
    test::TempFolder root;
    std::string shippedEnglish, userEnglish;
    for (int n = 1; n <= 240; ++n) shippedEnglish += "\"en" + std::to_string(n) + "\"\r\n";
    for (int n = 1; n <= 230; ++n) userEnglish += "\"mine" + std::to_string(n) + "\"\r\n";
    root.write("/share/Lang_english.txt", shippedEnglish);
    root.write("/user/Lang_english.txt", userEnglish);
    root.write("/user/Lang_pirate.txt", userEnglish);
    for (const char* language : {"english", "pirate"}) {
        AppState App;
        App.appPath = root.file("/user");
        App.shippedPath = root.file("/share");
        App.language = language;
        ASSERT_TRUE(Read_CFG(App));
        EXPECT_EQ(App.strings.byNumber(5), "mine5") << language;
        EXPECT_EQ(App.strings.byNumber(235), "en235") << language;
    }
}
