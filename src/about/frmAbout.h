#pragma once

#include <memory>

#include "app/Form.h"
#include "platform/Container.h"

namespace corvano {

// The About window: title, version, the maker's links and the help page.
class frmAbout : public Form {
public:
    explicit frmAbout(Application& app);
    ~frmAbout() override;

    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyDown(int keyCode, int shift) override;

    void cmdSysInfo_Click();
    void Label1_Click();
    void Label3_Click();
    void lbSite_Click();
    void lblDescription_Click();

    Label& lblTitle() { return *lblTitle_; }
    Label& lblVersion() { return *lblVersion_; }
    Label& lblEngine() { return *lblEngine_; }
    Label& lblDisclaimer() { return *lblDisclaimer_; }
    Label& lblDescription() { return *lblDescription_; }
    Label& lbSite() { return *lbSite_; }
    Label& lbDescr() { return *lbDescr_; }
    Label& lbVisit2() { return *lbVisit2_; }
    Label& Label3() { return *label3_; }
    Label& lbDescr2() { return *lbDescr2_; }
    Label& Label1() { return *label1_; }
    Button& cmdSysInfo() { return *cmdSysInfo_; }
    Picture& picIcon() { return *picIcon_; }
    WebView& WebHelp() { return *webHelp_; }

private:
    std::unique_ptr<Label> link(void (frmAbout::*onClick)());
    void place(Control& c, int left, int top, int width, int height);
    void open(const std::string& document, const std::string& verb);

    std::unique_ptr<Picture> picIcon_;
    std::unique_ptr<Picture> line1_;
    std::unique_ptr<Label> lblTitle_, lblVersion_, lblEngine_, lblDisclaimer_;
    std::unique_ptr<Label> lblDescription_, lbSite_, lbDescr_;
    std::unique_ptr<Label> lbVisit2_, label3_, lbDescr2_;
    std::unique_ptr<Label> label1_;
    std::unique_ptr<Button> cmdSysInfo_;
    // Created last so that it lies above every other control once shown.
    std::unique_ptr<WebView> webHelp_;
};

}  // namespace corvano
