#pragma once

#include <QPlainTextEdit>

#include "platform/TextEditBox.h"
#include "platform/qt/QtControl.h"

namespace corvano::qt {

// A plain-text editor with a fixed-width font and the line numbers painted in
// a margin on its left.
class QtNumberedEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit QtNumberedEdit(QWidget* parent);
    // Width the margin needs for the highest line number.
    int marginWidth() const;
    QWidget* margin() const { return margin_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class LineNumberMargin;
    void paintMargin(QPaintEvent* event);
    void updateMargin(const QRect& rect, int dy);

    QWidget* margin_;
};

class QtTextEditBox : public QtControl<TextEditBox, QtNumberedEdit> {
public:
    explicit QtTextEditBox(QWidget* parent);
    std::string text() const override;
    void setText(const std::string& text) override;
};

}  // namespace corvano::qt
