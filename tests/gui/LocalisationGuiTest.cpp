// A language switch reaches every window of the running application, and
// Qt's own dialogs, without a restart.
#include <QApplication>
#include <QHelpEvent>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTimer>
#include <QToolTip>
#include <QWebEnginePage>

#include "AppFixture.h"
#include "langedit/frmLang.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtFindBar.h"
#include "platform/qt/QtTranslations.h"
#include "platform/qt/QtWebHost.h"

using namespace corvano;
using corvano::test::waitUntil;

namespace {

class LocalisationGui : public test::AppFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(AppFixture::SetUp());
        server.addPage("/a.html", "<!doctype html><html><head><title>Seite</title></head><body>a</body></html>");
        main = &start("/a.html", {600, 60, 9000, 9000});
    }

    qt::QtWebHost* host() { return AppFixture::host(browser()); }
    // The tooltip the bar shows when the mouse rests on the entry's button.
    QString toolTipOn(CommandBarControl& control, const std::string& key) {
        QToolButton* button = static_cast<qt::QtCommandBar&>(control).button(key);
        if (!button || button->isHidden()) return "(not shown)";
        const QPoint centre = button->rect().center();
        QHelpEvent help(QEvent::ToolTip, centre, button->mapToGlobal(centre));
        QCoreApplication::sendEvent(button, &help);
        waitUntil([] { return QToolTip::isVisible(); }, 2000);
        const QString text = QToolTip::text();
        QToolTip::hideText();
        return text;
    }
    QImage mainBarImage() { return barImage(3); }

    frmMain* main = nullptr;
};

}  // namespace

TEST_F(LocalisationGui, GermanReachesEveryWindowThenFrenchAndEnglishAgain) {
    ASSERT_TRUE(waitUntil([&] { return browser().window().visible() && browser().Web().LocationName() == "Seite"; }));
    const QImage englishBar = mainBarImage();
    EXPECT_TRUE(toolTipOn(browser().cmdBar(0), "BACK").startsWith("Back"));  // then its key
    host()->showFindBar();

    main->cmdBar_Click(5, app->bars.at("LANG:DEUTSCH"));
    EXPECT_EQ(app->bars.at("NEW").caption(), "Neu");
    EXPECT_NE(mainBarImage(), englishBar) << "the main bar on screen changes";
    const QString back = QKeySequence(QKeySequence::Back).toString(QKeySequence::NativeText);
    EXPECT_TRUE(back.contains("Links")) << "Qt words the key in German: " << back.toStdString();
    EXPECT_EQ(toolTipOn(browser().cmdBar(0), "BACK"), QString::fromUtf8("Zurück (") + back + ")");
    EXPECT_EQ(toolTipOn(browser().cmdBar(2), "GO"), "Los");
    EXPECT_EQ(browser().window().caption(), "Browser  N.  1 [Seite]");
    qt::QtFindBar* find = host()->findBar();
    EXPECT_EQ(find->edit()->placeholderText(), "In der Seite suchen");
    EXPECT_EQ(find->findChild<QToolButton*>("findClose")->toolTip(), "Schließen (Esc)");
    EXPECT_EQ(host()->crashPanel()->findChild<QPushButton*>("crashReload")->text(), "Neu laden");
    EXPECT_TRUE(host()->crashPanel()->findChild<QLabel*>("crashText")->text().startsWith("Diese Seite"));
    EXPECT_EQ(main->languageEditor()->window().caption(), "Neue Sprache...");
    // Qt's own buttons and dialogs.
    EXPECT_EQ(qt::qtTranslationsInUse(), "de");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Ja");

    main->cmdBar_Click(5, app->bars.at("LANG:FRANCAIS"));
    EXPECT_TRUE(QString::fromStdString(browser().window().caption()).startsWith("Navigateur  N."));
    EXPECT_EQ(find->edit()->placeholderText(), "Rechercher dans la page");
    EXPECT_TRUE(toolTipOn(browser().cmdBar(0), "BACK").startsWith(QString::fromUtf8("Précédent")));  // then its key
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Oui");
    main->cmdBar_Click(5, app->bars.at("LANG:ITALIANO"));
    EXPECT_EQ(qt::qtTranslationsInUse(), "it");
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");

    main->cmdBar_Click(5, app->bars.at("LANG:ENGLISH"));
    EXPECT_EQ(qt::qtTranslationsInUse(), "");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
    EXPECT_EQ(find->edit()->placeholderText(), "Find in page");
    EXPECT_EQ(mainBarImage(), englishBar);
}

TEST_F(LocalisationGui, TheEditorWritesANewLanguageThroughQtsOwnPrompt) {
    main->cmdBar_Click(5, app->bars.at("LANG:NEW"));
    frmLang* editor = main->languageEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(waitUntil([&] { return editor->window().visible() && QApplication::activeModalWidget() != nullptr; }));
    editor->Text1().setText("\"Qapla\"\n");
    editor->cmdBar_Click(5, app->bars.at("SAVE3"));
    // The user answers Qt's own prompt.
    ASSERT_TRUE(waitUntil([&] {
        auto* prompt = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!prompt) return false;
        prompt->setTextValue("klingon");
        prompt->accept();
        return true;
    }));
    ASSERT_TRUE(waitUntil([&] { return dir.read("/Lang_klingon.Txt") == "\"Qapla\"\r\n"; }));
    editor->cmdBar_Click(5, app->bars.at("EXIT3"));
    EXPECT_TRUE(waitUntil([&] { return main->languageEditor() == nullptr; }));
    main->cmdBar_Click(5, app->bars.at("LANG:KLINGON"));
    EXPECT_EQ(app->App.strings.byNumber(1), "Qapla");
}
