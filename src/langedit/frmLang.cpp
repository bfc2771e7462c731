#include "langedit/frmLang.h"

#include <algorithm>
#include <utility>

#include "app/Application.h"
#include "app/Paths.h"
#include "app/TextArgs.h"
#include "app/TextFile.h"
#include "platform/CommandBars.h"
#include "bars/Commands.h"
#include "bars/EditorBars.h"
#include "bars/EditorImageList.h"
#include "bars/LanguageMenu.h"
#include "langedit/LanguageName.h"

namespace corvano {

namespace tf = textfile;

namespace {

constexpr const char* kTemplate = "lang_english.txt";

TextId faultText(NameFault fault) {
    switch (fault) {
        case NameFault::Separator: return TextId::NameHasSeparator;
        case NameFault::DotDot: return TextId::NameHasDotDot;
        case NameFault::Control: return TextId::NameHasControl;
        default: return TextId::NameHasCharacter;
    }
}

// A language file's lines end with CR LF, whatever the box gives back.
std::string asFileText(const std::string& boxText) { return tf::joinCrlf(tf::splitLines(boxText)); }

}  // namespace

frmLang::frmLang(Application& app) : Form(app, WindowRole::Editor), imageList1_(editorImageList()) {
    cmdBar_ = window().createCommandBar(5, [this](int index, Entry& entry) { cmdBar_Click(index, entry); });
    text1_ = window().createTextEditBox();
}

frmLang::~frmLang() = default;

void frmLang::Form_Load() {
    AppState& App = app_.App;
    window().setTopmost();
    window().setCaption(App.strings[TextId::NewLanguage]);
    cmdBar_->setLeft(0);
    cmdBar_->setTop(0);
    text1_->setLeft(0);
    // Half the screen, in its middle.
    const Size screen = app_.platform.screenSize();
    const int width = screen.width / 2, height = screen.height / 2;
    window().setGeometry({(screen.width - width) / 2, (screen.height - height) / 2, width, height});
    // The entries and the bar are process-wide: the first editor builds them.
    CommandBars& bars = app_.bars;
    if (!bars.bar("STANDARD5")) {
        if (!bars.entry("EXIT3")) Build_EditorButtons(app_);
        Build_EditorBar(app_);
    }
    cmdBar_->setImageList(&imageList1_);
    cmdBar_->setBar("STANDARD5");
    cmdBar_->setBarStyle(App.barStyle);
    text1_->setTop(cmdBar_->height());
    Form_Resize();
    loadTemplate();
}

void frmLang::loadTemplate() {
    // The template's name in any letter case: file names here tell case apart.
    const std::string path = findIgnoringCase(app_.App.appPath, kTemplate);
    const auto data = path.empty() ? std::nullopt : tf::readAll(path);
    if (!data) {
        text1_->setText({});
        unreadTemplate_ = app_.file(std::string("/") + kTemplate);
    } else {
        text1_->setText(tf::toUtf8(*data));
    }
    savedText_ = text1_->text();
}

void frmLang::ShowModal(std::function<void()> closed) {
    auto show = [this, closed] {
        // The style may have changed while the editor waited hidden.
        cmdBar_->setBarStyle(app_.App.barStyle);
        window().showModal(closed);
    };
    if (unreadTemplate_.empty()) return show();
    // A template that could not be read is told first.
    tell(withArgs(app_.App.strings[TextId::LanguageTemplateUnreadable], {std::exchange(unreadTemplate_, {})}), whileLoaded(show));
}

void frmLang::Form_Resize() {
    if (!cmdBar_ || !text1_) return;
    const int width = window().scaleWidth();
    cmdBar_->setWidth(width);
    text1_->setTop(cmdBar_->height());
    text1_->setWidth(std::max(0, width));
    text1_->setHeight(std::max(0, window().scaleHeight() - cmdBar_->height()));
}

void frmLang::Form_TextsChanged() { window().setCaption(app_.App.strings[TextId::NewLanguage]); }

void frmLang::Form_QueryUnload() {
    // A hidden editor holds nothing of the user's: it goes without a question.
    if (!window().visible()) return Unload();
    CloseEditor();
}

void frmLang::cmdBar_Click(int index, Entry& entry) {
    if (index != 5) return;
    const std::optional<Command> command = commandOf(entry.key());
    if (command == Command::EditorExit)
        CloseEditor();
    else if (command == Command::EditorSave)
        SaveLanguage();
}

bool frmLang::modified() const { return text1_->text() != savedText_; }

void frmLang::CloseEditor() {
    if (!modified()) return Unload();
    app_.platform.dialogs().confirm(app_.App.strings[TextId::LanguageDiscard], window().caption(), whileLoaded([this](bool yes) {
                                        if (yes) Unload();
                                    }));
}

void frmLang::tell(const std::string& text, std::function<void()> then) {
    app_.platform.dialogs().message(text, window().caption(), std::move(then));
}

void frmLang::SaveLanguage(Saved saved) {
    const StringTable& texts = app_.App.strings;
    // Asked again after every refused name, until one can be written or the user gives up.
    app_.platform.dialogs().input("", texts[TextId::LanguageNamePrompt], whileLoaded([this, saved](std::optional<std::string> answer) {
        const StringTable& texts = app_.App.strings;
        if (!answer) return done(saved, {});
        const NameCheck check = checkLanguageName(*answer);
        if (check.fault == NameFault::Empty) return done(saved, {});
        if (check.fault != NameFault::None)
            return tell(withArgs(texts[faultText(check.fault)], {std::string(1, check.character)}),
                        whileLoaded([this, saved] { SaveLanguage(saved); }));
        // The name as typed; an existing file that differs only in letter
        // case is the same language, so it is the one replaced.
        const std::string fileName = languageFileName(*answer);
        const std::string existing = findIgnoringCase(app_.App.appPath, fileName);
        if (existing.empty()) return write(app_.file("/" + fileName), saved);
        app_.platform.dialogs().confirm(withArgs(texts[TextId::LanguageReplace], {existing}), window().caption(),
                                        whileLoaded([this, saved, existing](bool yes) {
                                            yes ? write(existing, saved) : SaveLanguage(saved);
                                        }));
    }));
}

void frmLang::write(const std::string& path, const Saved& saved) {
    const std::string text = text1_->text();
    if (!tf::writeAtomic(path, asFileText(text))) {
        tell(withArgs(app_.App.strings[TextId::LanguageNotWritten], {path}));
        return done(saved, {});
    }
    savedText_ = text;
    // Chosen at once from the language menu, without a restart.
    const size_t slash = path.find_last_of('/');
    addLanguageToMenu(app_, slash == std::string::npos ? path : path.substr(slash + 1));
    done(saved, path);
}

void frmLang::done(const Saved& saved, const std::string& path) {
    if (saved) saved(path);
}

}  // namespace corvano
