#pragma once

#include <map>
#include <memory>
#include <set>

#include "app/Form.h"
#include "app/SessionFiles.h"
#include "bars/Commands.h"
#include "platform/ImageList.h"
#include "platform/Platform.h"
#include "platform/Timer.h"

namespace corvano {

class Entry;
class frmLang;
class frmStart;

// The full-screen main window with the bar strip.
class frmMain : public Form {
public:
    explicit frmMain(Application& app);
    ~frmMain() override;

    void Form_Load() override;
    void Form_KeyDown(int keyCode, int shift) override;
    void Form_Click() override;
    void Form_QueryUnload() override;

    // Saves the global settings, then closes every window, this one last.
    void GO_MainExit();
    // One reopen step.
    void Timer1_Timer();
    // One rotation tick.
    void Timer2_Timer();
    // A show mode's next window refreshes a tick ahead of its turn.
    void prepareNextTurn();
    void GO_Show();

    // Key names in the bars' tooltips follow the language.
    void Form_TextsChanged() override;

    // Clicks of the main window's bars (3, 4) and of every drop-down (5).
    void cmdBar_Click(int index, Entry& entry) override;
    // The bar component asks for one more control to host drop-downs.
    CommandBarControl* newInstanceRequest();

    // Loads a browser window without showing it; the caller has raised the
    // browser count already.
    frmStart& loadBrowserWindow();

    Panel& Dock1() { return *dock1_; }
    CommandBarControl* cmdBar(int index) const;
    Timer& Timer1() { return *timer1_; }
    Timer& Timer2() { return *timer2_; }
    const ImageList& ImageList1() const { return imageList1_; }
    bool exiting() const { return exiting_; }

    // Screenshots and the About window.
    // Writes the next numbered picture of the whole screen and says where.
    void Take_Pic();
    // Shows the About window modally; returns once it has closed.
    void showAbout();
    // Ctrl+N on the main window too: the key its "New" button's tooltip names.
    void Form_Shortcut(Shortcut which) override;

    // What the wall's commands run.
    void applyStyle(Command style);
    void newWindow();
    void hideBars();
    void showEvery(int period);
    void showOff();
    // A show mode every so many seconds (30 to 1800, on the 30-second tick).
    void showEverySeconds(int seconds);
    // The show mode's next turn comes now; false when no show mode is on.
    bool showNext();
    // Window layout: the arrangements and the show modes' full screen.
    void arrange(Command how);
    void toggleSlideshow();
    void showLanguageEditor();

private:
    // Closes every window, the last opened first; the exit's second half.
    static void closeAll(Application& app);
    void setLimits();
    void readGlobalSettings();
    void coverScreen();
    void showBackground();
    void readLanguage();
    void startReopening();
    void setUpBars();
    void chooseLanguage(const std::string& key);
    // The previous show mode's turn returns to its place.
    void endSlide();
    // The work area of a monitor less the bar strip where it covers it.
    Rect workArea(const Monitor& monitor) const;
    // The browser window an entry of the list of open windows is, if it is one.
    frmStart* browserAt(const Form* form) const;
    int slideNumber_ = 0;

    std::unique_ptr<Panel> dock1_;
    std::map<int, std::unique_ptr<CommandBarControl>> cmdBar_;
    std::unique_ptr<Timer> timer1_;
    std::unique_ptr<Timer> timer2_;
    ImageList imageList1_;
    int rotationTicks_ = 0;
    bool exiting_ = false;
    // A screenshot is on its way: a second one would choose the same name.
    bool shooting_ = false;

    // The language editor, loaded or not.
public:
    frmLang* languageEditor() const;

    // The desktop asks to end (signal, logout): the exit as "EXIT" runs it,
    // with no message that would wait for an answer nobody gives.
    void endRequested();
    // Another start on this folder: every browser window comes forward, the
    // one activated last on top.
    void bringForward();
    // The browser count the global settings file records now: while windows
    // are still being reopened, they belong to the session already.
    int16_t sessionCount() const;
    // What every file of the session holds if the application ended now,
    // less the settings of a window that is being moved: those wait for the
    // move to end, one pass at most, so a long drag is written every two seconds.
    std::vector<FileText> sessionSnapshot();
    SessionFiles* sessionFiles() const { return sessionFiles_.get(); }

private:
    void keepSessionCurrent();
    std::unique_ptr<SessionFiles> sessionFiles_;
    // Each browser window's place at the last pass, and the windows whose
    // settings were held back at it.
    std::map<const Form*, Rect> placeSeen_;
    std::set<const Form*> heldBack_;
};

// Starts the application: loads and shows the main window.
frmMain& Sub_Main(Application& app);
// The main window, or nullptr once it has gone.
frmMain* mainForm(const Application& app);

}  // namespace corvano
