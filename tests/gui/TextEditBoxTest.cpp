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

TEST(ModalWindow, ContinuesOnceHiddenOrDestroyed) {
    NoEvents events;
    auto window = std::make_unique<qt::QtWindow>(WindowRole::Editor, events);
    int closed = 0;
    window->showModal([&] { ++closed; });
    EXPECT_TRUE(window->widget()->isModal() && window->visible()) << "returns at once, the window shown modally";
    window->hide();
    EXPECT_EQ(closed, 0) << "not inside the handler that hid it";
    EXPECT_TRUE(test::waitUntil([&] { return closed == 1; }));
    EXPECT_FALSE(window->widget()->isModal());

    // The form goes, and its window with it, while the window is modal.
    window->showModal([&] { ++closed; });
    window.reset();
    EXPECT_TRUE(test::waitUntil([&] { return closed == 2; }));
}
