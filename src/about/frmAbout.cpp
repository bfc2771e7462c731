#include "about/frmAbout.h"

#include "about/AboutTexts.h"
#include "about/VersionReport.h"
#include "app/Application.h"
#include "app/MakerUrls.h"

namespace corvano {

namespace {
// The window's outer size and its layout, in twips.
constexpr int kWidth = 7200;
constexpr int kHeight = 6300;
constexpr int kMargin = 240;
constexpr int kTextLeft = 1440;
constexpr int kTextWidth = kWidth - kTextLeft - kMargin - 120;
constexpr int kLine = 300;

// Texts of the window.
}  // namespace

frmAbout::frmAbout(Application& app) : Form(app, WindowRole::About) {
    Window& w = window();
    picIcon_ = w.createPicture();
    lblTitle_ = w.createLabel();
    lblVersion_ = w.createLabel();
    lblEngine_ = w.createLabel();
    lblDisclaimer_ = w.createLabel();
    line1_ = w.createPicture();
    lblDescription_ = link(&frmAbout::lblDescription_Click);
    lbSite_ = link(&frmAbout::lbSite_Click);
    lbDescr_ = w.createLabel();
    lbVisit2_ = w.createLabel();
    label3_ = link(&frmAbout::Label3_Click);
    lbDescr2_ = w.createLabel();
    label1_ = link(&frmAbout::Label1_Click);
    cmdSysInfo_ = w.createButton();
    cmdSysInfo_->onClick = [this] { cmdSysInfo_Click(); };
    webHelp_ = w.createWebView(WebProfile{});
    webHelp_->setVisible(false);
}

frmAbout::~frmAbout() {
    for (Label* l : {lblDescription_.get(), lbSite_.get(), label3_.get(), label1_.get()}) l->onClick = nullptr;
    cmdSysInfo_->onClick = nullptr;
}

std::unique_ptr<Label> frmAbout::link(void (frmAbout::*onClick)()) {
    auto label = window().createLabel();
    label->setLink(true);
    label->onClick = [this, onClick] { (this->*onClick)(); };
    return label;
}

void frmAbout::place(Control& c, int left, int top, int width, int height) {
    c.setLeft(left);
    c.setTop(top);
    c.setWidth(width);
    c.setHeight(height);
    c.setVisible(true);
}

void frmAbout::Form_Load() {
    const AppState& App = app_.App;
    const StringTable& t = App.strings;
    Window& w = window();
    w.setCaption(t[TextId::AboutCaption]);
    w.setTopmost();
    const Size screen = app_.platform.screenSize();
    w.setGeometry({screen.width / 2 - kWidth / 2, screen.height / 2 - kHeight / 2, kWidth, kHeight});

    picIcon_->setSource("res:corvano");
    place(*picIcon_, kMargin, kMargin, 960, 960);
    place(*lblTitle_, kTextLeft, kMargin, kTextWidth, 420);
    place(*lblVersion_, kTextLeft, 700, kTextWidth, kLine);
    place(*lblDisclaimer_, kTextLeft, 1040, kTextWidth, 640);
    line1_->setSource("res:rule");
    place(*line1_, kMargin, 1800, kWidth - 2 * kMargin - 120, 15);
    place(*lblDescription_, kMargin, 2000, kTextLeft - kMargin, kLine);
    place(*lbSite_, kTextLeft, 2000, kTextWidth, kLine);
    place(*lbDescr_, kTextLeft, 2300, kTextWidth, kLine);
    place(*lbVisit2_, kMargin, 2800, kTextLeft - kMargin, kLine);
    place(*label3_, kTextLeft, 2800, kTextWidth, kLine);
    place(*lbDescr2_, kTextLeft, 3100, kTextWidth, kLine);
    // The engine's age matters to a wall of pages from the open internet.
    place(*lblEngine_, kTextLeft, 3500, kTextWidth, 3 * kLine);
    place(*label1_, kMargin, 4600, kWidth - 2 * kMargin - 120, kLine);
    place(*cmdSysInfo_, kWidth - kMargin - 120 - 1800, 5100, 1800, 420);

    cmdSysInfo_->setText(t[TextId::AboutHelp]);
    lblDescription_->setText(t[TextId::AboutVisit]);
    lbVisit2_->setText(t[TextId::AboutVisit]);
    lblVersion_->setText(versionText(t[TextId::AboutVersion]));
    std::string engine = engineLines(t, app_.platform.engineVersions());
    if (!engine.empty()) engine.pop_back();
    lblEngine_->setText(engine);
    lblTitle_->setText("Corvano");
    lblDisclaimer_->setText(t[TextId::AboutDisclaimer]);
    lbDescr_->setText(t[TextId::AboutSiteLine]);
    lbDescr2_->setText(t[TextId::AboutPartnerLine]);
    lbSite_->setText(siteName(urls::kMakerSecondSite));
    label3_->setText(siteName(urls::kPartnerSite));
    label1_->setText(t[TextId::AboutMaker] + " " + urls::kMakerMail);
}

void frmAbout::Form_Resize() {
    // The help page, once shown, keeps covering the whole window.
    if (!webHelp_) return;
    webHelp_->setWidth(window().scaleWidth());
    webHelp_->setHeight(window().scaleHeight());
}

void frmAbout::Form_KeyDown(int keyCode, int) {
    if (keyCode == keys::Escape) Unload();
}

void frmAbout::cmdSysInfo_Click() {
    webHelp_->setTop(0);
    webHelp_->setLeft(0);
    Form_Resize();
    webHelp_->setVisible(true);
    webHelp_->Navigate(helpPageAddress(app_.App.language));
}

void frmAbout::open(const std::string& document, const std::string& verb) { app_.platform.shell().open(document, verb); }

void frmAbout::Label1_Click() { open(std::string("mailto:") + urls::kMakerMail, "Open"); }
void frmAbout::Label3_Click() { open(urls::kPartnerSite, "Open"); }
void frmAbout::lbSite_Click() { open(urls::kMakerSecondSite, "Open"); }
void frmAbout::lblDescription_Click() { open(urls::kMakerSecondSite, ""); }

}  // namespace corvano
