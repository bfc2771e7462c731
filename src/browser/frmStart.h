#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/Form.h"
#include "bars/ImageList.h"
#include "platform/Container.h"

namespace corvano {

class Entry;

// A numbered browser window: its web control, address box, three bars and
// its own settings and history files.
class frmStart : public Form, public WebViewEvents {
public:
    // How long WebAttend waits for a page before giving up.
    static constexpr int kWebAttendLimitMs = 60000;

    explicit frmStart(Application& app);
    ~frmStart() override;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_KeyDown(int keyCode, int shift) override;
    void Form_QueryUnload() override { GO_Exit(); }

    // The browser number held by the window (0 only if none could be had).
    int number() const { return number_; }
    // Saves the history and settings, frees the number, lowers the browser
    // count and unloads the window; runs once whatever asks for it.
    void GO_Exit();

    // Completes the address box's text, navigates to it and, with flag 1,
    // records a qualifying address in the history.
    void CommandGo(int flag);
    void Hyst_Read();
    void Hyst_Add();
    bool Hyst_Save();
    void Read_Settings();
    bool Save_Settings();

    void cmdBar_Click(int index, Entry& entry);
    // True when the character is consumed.
    bool Text1_KeyPress(int charCode);
    void Text1_Click();

    void Web_StatusTextChange(const std::string& text) override;
    void Web_TitleChange(const std::string& text) override;
    void Web_BeforeNavigate2() override;
    void Web_NavigateComplete2() override;
    void Web_DocumentComplete() override;
    void Web_DownloadComplete() override;
    void Web_NewWindow2(bool& cancel) override;
    void Web_WindowClosing(bool isChildWindow, bool& cancel) override;

    // Waits, letting the engine go on loading, until the page has loaded or
    // the limit has passed. True when the page completed; false on timeout,
    // when there is no document, or when the window closed meanwhile (then
    // the caller must not touch the window any more).
    bool WebAttend(int limitMs = kWebAttendLimitMs);

    std::string shortCaption() const;
    std::string longCaption(const std::string& text) const;

    const std::string& currentAddress() const { return currentAddress_; }
    Panel& picBar() { return *picBar_; }
    CommandBarControl& cmdBar(int index) { return *cmdBar_.at(static_cast<size_t>(index)); }
    ComboBox& Text1() { return *text1_; }
    WebView& Web() { return *web_; }
    Label& labCount() { return *labCount_; }
    const ImageList& ImageList1() const { return imageList1_; }
    std::vector<std::string> history() const;

private:
    void chooseNumber();
    void buildBarsOnce();
    void placeStrip();
    void setUpBars();
    void place();
    void openLastPage();

    // The image list outlives the bars that point to it; the panel outlives
    // the controls inside it.
    ImageList imageList1_;
    std::unique_ptr<Panel> picBar_;
    std::array<std::unique_ptr<CommandBarControl>, 3> cmdBar_;
    std::unique_ptr<ComboBox> text1_;
    std::unique_ptr<WebView> web_;
    std::unique_ptr<Label> labCount_;

    int number_ = 0;
    std::string currentAddress_;
    bool closing_ = false;
    // Cleared when the window object goes, so a wait can tell it is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

public:
    // What the settings and history files hold when the window closes now:
    // the run-time writes and the close write the same bytes.
    std::string settingsText() const;
    std::string historyText() const;
    bool closing() const { return closing_; }
};

}  // namespace corvano
