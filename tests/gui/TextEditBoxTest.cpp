// The language editor's platform parts: the numbered text box and modal showing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QTimer>

#include "GuiTestUtil.h"
#include "platform/qt/QtTextEditBox.h"
#include "platform/qt/QtWindow.h"

using namespace corvano;

namespace {

struct NoEvents : WindowEvents {};

std::string lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "\"line " + std::to_string(i) + "\"\n";
    return text;
}

}  // namespace

TEST(TextEditBox, FixedWidthPlainTextWithLineNumbersThatMakeRoom) {
    QWidget window;
    window.resize(600, 400);
    qt::QtTextEditBox box(&window);
    box.widget()->resize(600, 400);
    window.show();
    EXPECT_TRUE(QFontInfo(box.widget()->font()).fixedPitch());
    EXPECT_EQ(box.widget()->lineWrapMode(), QPlainTextEdit::NoWrap);

    box.setText(lines(9));
    EXPECT_EQ(box.text(), lines(9)) << "the text comes back as it went in";
    QWidget* margin = box.widget()->margin();
    ASSERT_TRUE(test::waitUntil([&] { return margin->isVisible() && margin->width() > 0; }));
    const int narrow = box.widget()->marginWidth();
    box.setText(lines(1200));
    EXPECT_GT(box.widget()->marginWidth(), narrow) << "four digits need more room than one";
    EXPECT_GE(box.widget()->viewport()->x(), box.widget()->marginWidth()) << "the text starts right of the numbers";
}

TEST(ModalWindow, ReturnsWhenHiddenOrDestroyedInsideTheLoop) {
    NoEvents events;
    auto window = std::make_unique<qt::QtWindow>(WindowRole::Editor, events);
    bool modalWhileShown = false;
    QTimer::singleShot(50, [&] {
        modalWhileShown = window->widget()->isModal() && window->visible();
        window->hide();
    });
    window->showModal();
    EXPECT_TRUE(modalWhileShown);
    EXPECT_FALSE(window->visible());
    EXPECT_FALSE(window->widget()->isModal());

    // The form goes, and its window with it, while the window is modal.
    QTimer::singleShot(50, [&] { window.reset(); });
    window->showModal();
    EXPECT_EQ(window, nullptr);
}
