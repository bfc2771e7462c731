#pragma once

#include <QPlainTextEdit>
#include <QWidget>

#include "platform/MarkupBox.h"
#include "platform/qt/QtControl.h"

namespace corvano::qt {

class QtFindBar;

// A page's markup: read-only, monospaced, coloured, with a find bar of its own.
class QtMarkupView : public QWidget {
    Q_OBJECT
public:
    explicit QtMarkupView(QWidget* parent);
    QPlainTextEdit* edit() const { return edit_; }
    QtFindBar* findBar() const { return findBar_; }
    void showFindBar();
    void findAgain(bool backward);
    // Selects the next (or previous) match, wrapping round; gives the
    // match's position among all of them and their count.
    void find(const QString& text, bool backward, int& active, int& total);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPlainTextEdit* edit_;
    QtFindBar* findBar_;
};

class QtMarkupBox : public QtControl<MarkupBox, QtMarkupView> {
public:
    explicit QtMarkupBox(QWidget* parent);
    std::string text() const override;
    void setText(const std::string& text) override;
    void showFindBar() override;
    void findAgain(bool backward) override;
    void setFocus() override;
};

}  // namespace corvano::qt
