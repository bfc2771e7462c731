// The command bar control on the real Qt platform: drawing, looks, clicks.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/Application.h"
#include "bars/BrowserBars.h"
#include "bars/Captions.h"
#include "bars/MainBars.h"
#include "gui/GuiTestUtil.h"
#include "platform/qt/QtBarStyle.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtIcons.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/Twips.h"

namespace corvano::qt {
namespace {

struct Click {
    int index = -1;
    std::string key;
    int count = 0;
};

void setEnglish(StringTable& t) {
    const std::pair<int, const char*> texts[] = {
        {210, "New browser"}, {211, "Open one more browser window"}, {212, "Exit"}, {213, "Close Corvano"},
        {214, "About"}, {215, "About Corvano"}, {216, "Screenshot"}, {217, "Save the screen as a picture"},
        {218, "Language"}, {219, "Choose the language"}, {220, "Show"}, {221, "Bring the windows forward in turn"},
        {222, "seconds"}, {223, "minutes"}, {224, "Show off"}, {225, "Style"}, {226, "Choose the look of the bars"},
        {180, "System"}, {172, "Office"}, {173, "XP"}, {174, "Money"}, {227, "New language..."}, {230, "Hide bars"},
        {157, "Cut"}, {158, "Copy"}, {159, "Paste"}, {18, "Delete"}, {23, "Select all"}, {41, "Page setup..."},
        {42, "Print preview"}, {43, "Print..."}, {177, "Properties"}, {166, "Find on this page..."},
        {35, "View source"}};
    for (const auto& [n, text] : texts) t.set(n, text);
}

// The main window's strip: the main bar and the corner bar side by side.
class CommandBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        for (const char* name : {"Lang_english.txt", "Lang_italiano.txt", "Lang_Deutsch.txt"}) {
            QFile f(dir_.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        app_ = std::make_unique<Application>(platform_, dir_.path().toStdString());
        setCommandBarModel(&app_->bars);
        Build_MainButtons(*app_);
        Build_MainBars(*app_);
        Build_BrowserButtons(*app_);
        Build_BrowserBars(*app_);
        setEnglish(app_->App.strings);
        Set_Captions(*app_);
        images_ = mainImageList();

        window_ = std::make_unique<QWidget>();
        window_->setWindowTitle("Corvano bars");
        window_->resize(1100, 27);
        window_->setAutoFillBackground(true);
        QPalette pal = window_->palette();
        pal.setColor(QPalette::Window, QColor(140, 170, 228));
        window_->setPalette(pal);
        const int width = toTwips(window_->width());
        corner_ = make(4);
        corner_->setImageList(&images_);
        corner_->setBar("STANDARD4");
        corner_->setWidth(1960);
        corner_->setTop(20);
        corner_->setLeft(width - 1960 - 20);
        main_ = make(3);
        main_->setBar("STANDARD3");
        main_->setImageList(&images_);
        main_->setWidth(width - corner_->width());
        main_->setTop(20);
        main_->setLeft(20);
        host_ = make(5);
        host_->setVisible(false);
        host_->setImageList(&images_);
        app_->bars.dropDownHost = host_.get();
        window_->show();
        ASSERT_TRUE(test::waitUntil([&] { return window_->isVisible(); }));
    }

    void TearDown() override {
        main_.reset();
        corner_.reset();
        host_.reset();
        window_.reset();
        setCommandBarModel(nullptr);
        app_.reset();
    }

    std::unique_ptr<QtCommandBar> make(int index) {
        return std::make_unique<QtCommandBar>(window_.get(), index, [this](int i, Entry& e) {
            clicks_.index = i;
            clicks_.key = e.key();
            ++clicks_.count;
        });
    }

    void setStyle(int style) {
        for (QtCommandBar* c : {main_.get(), corner_.get(), host_.get()}) c->setBarStyle(style);
    }

    QImage grab() {
        QApplication::processEvents();
        return window_->grab().toImage();
    }

    // A click as the mouse gives it; the handler hears of it once the event is done.
    static void click(QtCommandBar& bar, const std::string& key) {
        QToolButton* b = bar.button(key);
        ASSERT_TRUE(b) << key;
        QTest::mouseClick(b, Qt::LeftButton);
        QApplication::processEvents();
    }

    // Opens the drop-down of a button; `inMenu` runs while it shows and
    // returns the key to choose ("" closes the menu without a choice).
    void openAndChoose(QtCommandBar& bar, const std::string& key, std::function<std::string(QMenu&)> inMenu) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(test::waitUntil([] { return QApplication::activePopupWidget() != nullptr; }, 5000));
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(nullptr, menu);
            ran = true;
            const std::string wanted = inMenu(*menu);
            for (QAction* a : menu->actions())
                if (!wanted.empty() && a->data().toString().toStdString() == wanted) {
                    menu->setActiveAction(a);
                    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                    QApplication::sendEvent(menu, &enter);
                    return;
                }
            menu->close();
        });
        click(bar, key);
        EXPECT_TRUE(ran);
    }

    QtPlatform platform_;
    QTemporaryDir dir_;
    std::unique_ptr<Application> app_;
    ImageList images_;
    std::unique_ptr<QWidget> window_;
    std::unique_ptr<QtCommandBar> main_, corner_, host_;
    Click clicks_;
};

int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

TEST_F(CommandBarTest, DrawsEveryButtonWithItsIcon) {
    for (const Entry* e : app_->bars.bar("STANDARD3")->entries()) {
        QToolButton* b = main_->button(e->key());
        EXPECT_EQ(e->style() != entrystyle::Separator, b && !b->isHidden()) << e->key();
    }
    EXPECT_FALSE(main_->hasOverflow());
    EXPECT_FALSE(corner_->hasOverflow()) << "the corner bar's 1960 twips hold its buttons";
    // A bar suits 16-pixel icons and sits inside the 395-twip strip.
    EXPECT_GE(main_->widget()->height(), 22);
    EXPECT_LE(main_->top() + main_->height(), 395 + 15);
    // The icon: the button's picture differs from the same button without one.
    QToolButton* b = main_->button("NEW");
    const QImage shot = b->grab().toImage();
    main_->setImageList(nullptr);
    EXPECT_GT(differingPixels(shot.copy(0, 0, 20, shot.height()), b->grab().toImage().copy(0, 0, 20, shot.height())), 40);
    // A flag drawn from the flag set, and our own rainbow flag.
    EXPECT_FALSE(barIcon("flag:gb").isNull());
    EXPECT_FALSE(barIcon("res:peace").isNull());
    EXPECT_TRUE(barIcon("theme:no-such-icon-anywhere").isNull());
}

TEST_F(CommandBarTest, FourStylesLookDifferent) {
    std::vector<QImage> shots;
    for (int style = 0; style <= 3; ++style) {
        setStyle(style);
        shots.push_back(grab());
    }
    for (size_t a = 0; a < shots.size(); ++a)
        for (size_t b = a + 1; b < shots.size(); ++b)
            EXPECT_GT(differingPixels(shots[a], shots[b]), shots[a].width() * 10) << "styles " << a << " and " << b;
    setStyle(7);  // unknown: the System look, no crash
    EXPECT_EQ(0, differingPixels(shots[0], grab()));

    if (const QByteArray out = qgetenv("CORVANO_SCREENSHOT_DIR"); !out.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(out));
        const char* names[] = {"system", "office", "money", "xp"};
        for (int style = 0; style <= 3; ++style) {
            setStyle(style);
            static const char* const kKeys[] = {"STYLE:SYSTEM", "STYLE:OFFICE", "STYLE:MONEY", "STYLE:XP"};
            app_->bars.at(kKeys[style]).setChecked(true);
            grab().save(QString("%1/bars-%2.png").arg(QString::fromLocal8Bit(out), names[style]));
            // The keyboard on a button, and the mouse over another.
            window_->activateWindow();
            test::waitUntil([&] { return window_->isActiveWindow(); }, 2000);
            main_->takeKeyboard(true, nullptr);
            main_->button("NEW")->setAttribute(Qt::WA_UnderMouse);
            grab().save(QString("%1/keys-%2.png").arg(QString::fromLocal8Bit(out), names[style]));
            main_->button("NEW")->setAttribute(Qt::WA_UnderMouse, false);
            main_->button("EXIT")->clearFocus();
            // The style menu, open, in the same look.
            openAndChoose(*main_, "STYLE", [&](QMenu& menu) {
                test::waitUntil([&] { return menu.isVisible(); }, 2000);
                menu.grab().save(QString("%1/menu-%2.png").arg(QString::fromLocal8Bit(out), names[style]));
                return std::string();
            });
            openAndChoose(*main_, "LANG", [&](QMenu& menu) {
                test::waitUntil([&] { return menu.isVisible(); }, 2000);
                menu.setActiveAction(menu.actions().value(1));
                QApplication::processEvents();
                menu.grab().save(QString("%1/lang-%2.png").arg(QString::fromLocal8Bit(out), names[style]));
                return std::string();
            });
            // A browser window's icon-only bar and its edit menu.
            ImageList browserImages = browserImageList();
            auto browser = make(0);
            browser->setImageList(&browserImages);
            browser->setBar("STANDARD0");
            browser->setBarStyle(style);
            browser->setWidth(3220);
            browser->setTop(420);
            browser->widget()->grab().save(QString("%1/browser-%2.png").arg(QString::fromLocal8Bit(out), names[style]));
            openAndChoose(*browser, "EDIT", [&](QMenu& menu) {
                test::waitUntil([&] { return menu.isVisible(); }, 2000);
                menu.grab().save(QString("%1/edit-%2.png").arg(QString::fromLocal8Bit(out), names[style]));
                return std::string();
            });
        }
    }
}

TEST_F(CommandBarTest, HoverAndCheckedButtonsAreDrawn) {
    setStyle(1);
    const QImage before = grab();
    QToolButton* b = main_->button("NEW");
    b->setAttribute(Qt::WA_UnderMouse);
    b->update();
    EXPECT_GT(differingPixels(before, grab()), 50);
}

TEST_F(CommandBarTest, ButtonClicksReachTheOwnHandler) {
    click(*main_, "NEW");
    EXPECT_EQ(1, clicks_.count);
    EXPECT_EQ(3, clicks_.index);
    EXPECT_EQ("NEW", clicks_.key);
    click(*corner_, "EXIT2");
    EXPECT_EQ(4, clicks_.index);
    EXPECT_EQ("EXIT2", clicks_.key);
    EXPECT_EQ(nullptr, main_->button("SEP01")) << "a separator is no button";
    EXPECT_EQ(2, clicks_.count);
}

TEST_F(CommandBarTest, DropDownItemsReachTheHostInItsLook) {
    host_->setBarStyle(2);
    app_->bars.at("STYLE:OFFICE").setChecked(true);
    openAndChoose(*main_, "STYLE", [&](QMenu& menu) {
        EXPECT_EQ(menuStyleSheet(barLook(2)), menu.styleSheet());
        std::vector<std::string> keys;
        for (QAction* a : menu.actions()) {
            keys.push_back(a->data().toString().toStdString());
            EXPECT_FALSE(a->icon().isNull()) << keys.back();
            EXPECT_TRUE(a->isCheckable());
            EXPECT_EQ(keys.back() == "STYLE:OFFICE", a->isChecked());
        }
        EXPECT_EQ((std::vector<std::string>{"STYLE:SYSTEM", "STYLE:OFFICE", "STYLE:XP", "STYLE:MONEY"}), keys);
        EXPECT_EQ("Office", menu.actions()[1]->text().toStdString());
        return std::string("STYLE:MONEY");
    });
    EXPECT_EQ(1, clicks_.count);
    EXPECT_EQ(5, clicks_.index);
    EXPECT_EQ("STYLE:MONEY", clicks_.key);

    // A browser window's bar: its menus report to the same host.
    ImageList browserImages = browserImageList();
    auto browser = make(0);
    browser->setImageList(&browserImages);
    browser->setBar("STANDARD0");
    browser->setWidth(3220);
    openAndChoose(*browser, "EDIT", [&](QMenu& menu) {
        int separators = 0;
        for (QAction* a : menu.actions()) separators += a->isSeparator();
        EXPECT_EQ(2, separators);
        return std::string("EDIT:COPY");
    });
    EXPECT_EQ(5, clicks_.index);
    EXPECT_EQ("EDIT:COPY", clicks_.key);

    // Closing the menu without a choice delivers nothing.
    openAndChoose(*main_, "SHOW", [](QMenu&) { return std::string(); });
    EXPECT_EQ(2, clicks_.count);
}

TEST_F(CommandBarTest, WithoutAHostTheMenuOpensAndTheClickGoesNowhere) {
    app_->bars.dropDownHost = nullptr;
    bool asked = false;
    app_->bars.newInstanceRequest = [&]() -> CommandBarControl* {
        asked = true;
        return nullptr;
    };
    openAndChoose(*main_, "LANG", [](QMenu& menu) {
        EXPECT_EQ(4, menu.actions().size());  // three languages and "New language..."
        return std::string("LANG:ITALIANO");
    });
    EXPECT_TRUE(asked);
    EXPECT_EQ(0, clicks_.count);
}

TEST_F(CommandBarTest, CaptionAndLanguageChangesRepaint) {
    const QImage before = grab();
    const int wide = main_->button("NEW")->width();
    app_->bars.at("NEW").setCaption("Open a new browser window");
    EXPECT_TRUE(test::waitUntil([&] { return main_->button("NEW")->width() > wide; }, 2000));
    EXPECT_GT(differingPixels(before, grab()), 100);

    // A language switch repaints every bar, the corner bar too.
    const QImage corner = corner_->widget()->grab().toImage();
    app_->App.strings.set(TextId::Exit, "Esci");
    app_->App.strings.set(TextId::About, "Info");
    Set_Captions(*app_);
    QApplication::processEvents();
    EXPECT_GT(differingPixels(corner, corner_->widget()->grab().toImage()), 20);
}

TEST_F(CommandBarTest, UnknownBarIsAnEmptyStripAndNarrowBarsOverflow) {
    auto unknown = make(6);
    unknown->setBar("NO-SUCH-BAR");
    unknown->setWidth(3000);
    EXPECT_TRUE(unknown->widget()->actions().isEmpty());
    EXPECT_TRUE(unknown->keyboardStops().empty());

    main_->setWidth(toTwips(200));
    ASSERT_TRUE(test::waitUntil([&] { return main_->hasOverflow(); }, 2000));
    QAction* note = main_->button("NOTE1")->defaultAction();
    EXPECT_TRUE(main_->button("NOTE1")->isHidden());
    EXPECT_FALSE(main_->button("EXIT")->isHidden());
    // "»" lists what does not fit, and those still report to their own bar.
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(test::waitUntil([] { return QApplication::activePopupWidget() != nullptr; }, 5000));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        EXPECT_TRUE(menu->actions().contains(note));
        EXPECT_FALSE(menu->actions().contains(main_->button("EXIT")->defaultAction()));
        menu->setActiveAction(note);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    QTest::mouseClick(main_->keyboardStops().back(), Qt::LeftButton);
    EXPECT_TRUE(test::waitUntil([&] { return clicks_.count == 1; }, 2000));
    EXPECT_EQ(3, clicks_.index);
    EXPECT_EQ("NOTE1", clicks_.key);
}

}  // namespace
}  // namespace corvano::qt
