#include "platform/qt/QtTextEditBox.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextBlock>

#include "platform/qt/QtContainer.h"

namespace corvano::qt {

class LineNumberMargin : public QWidget {
public:
    explicit LineNumberMargin(QtNumberedEdit* edit) : QWidget(edit), edit_(edit) {
        setObjectName(QStringLiteral("lineNumbers"));
    }
    QSize sizeHint() const override { return {edit_->marginWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { edit_->paintMargin(event); }

private:
    QtNumberedEdit* edit_;
};

QtNumberedEdit::QtNumberedEdit(QWidget* parent) : QPlainTextEdit(parent), margin_(new LineNumberMargin(this)) {
    setObjectName(QStringLiteral("textEditBox"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // A file of text lines: what is pasted stays plain.
    setTabChangesFocus(false);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(marginWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &QtNumberedEdit::updateMargin);
    setViewportMargins(marginWidth(), 0, 0, 0);
}

int QtNumberedEdit::marginWidth() const {
    int digits = 1;
    for (int n = std::max(1, blockCount()); n >= 10; n /= 10) ++digits;
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void QtNumberedEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect r = contentsRect();
    margin_->setGeometry(QRect(r.left(), r.top(), marginWidth(), r.height()));
}

void QtNumberedEdit::updateMargin(const QRect& rect, int dy) {
    if (dy)
        margin_->scroll(0, dy);
    else
        margin_->update(0, rect.y(), margin_->width(), rect.height());
}

void QtNumberedEdit::paintMargin(QPaintEvent* event) {
    QPainter p(margin_);
    p.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.setFont(font());
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int right = margin_->width() - 4;
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top())
            p.drawText(0, top, right, fontMetrics().height(), Qt::AlignRight, QString::number(block.blockNumber() + 1));
        block = block.next();
        top += height;
    }
}

QtTextEditBox::QtTextEditBox(QWidget* parent) : QtControl(new QtNumberedEdit(parent)) {}

std::string QtTextEditBox::text() const { return w_ ? w_->toPlainText().toStdString() : std::string(); }

void QtTextEditBox::setText(const std::string& text) {
    if (w_) w_->setPlainText(QString::fromStdString(text));
}

std::unique_ptr<TextEditBox> QtChildFactory::textEditBox(QWidget* parent) {
    return std::make_unique<QtTextEditBox>(parent);
}

}  // namespace corvano::qt
