#include "platform/qt/QtMarkupBox.h"

#include <QFontDatabase>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QSyntaxHighlighter>
#include <QTextDocument>

#include "platform/qt/QtContainer.h"
#include "platform/qt/QtFindBar.h"

namespace corvano::qt {

namespace {

// Colours tags, attribute names, quoted values and comments; a comment or a
// tag may run over several lines.
class MarkupHighlighter : public QSyntaxHighlighter {
public:
    explicit MarkupHighlighter(QTextDocument* doc) : QSyntaxHighlighter(doc) {
        tag_.setForeground(QColor(0x1a, 0x1a, 0xa6));
        tag_.setFontWeight(QFont::Bold);
        attribute_.setForeground(QColor(0x99, 0x45, 0x00));
        string_.setForeground(QColor(0x1a, 0x7f, 0x37));
        comment_.setForeground(QColor(0x6a, 0x73, 0x7d));
        comment_.setFontItalic(true);
    }

protected:
    enum State { Text = 0, Comment = 1, InTag = 2 };

    void highlightBlock(const QString& line) override {
        const int n = static_cast<int>(line.size());
        int i = 0;
        int state = std::max(0, previousBlockState());
        while (i < n) {
            if (state == Comment) {
                const int end = static_cast<int>(line.indexOf(QLatin1String("-->"), i));
                const int stop = end < 0 ? n : end + 3;
                setFormat(i, stop - i, comment_);
                i = stop;
                if (end >= 0) state = Text;
                continue;
            }
            if (state == InTag) {
                i = tagInside(line, i, state);
                continue;
            }
            const int open = static_cast<int>(line.indexOf(QLatin1Char('<'), i));
            if (open < 0) break;
            if (line.mid(open, 4) == QLatin1String("<!--")) {
                state = Comment;
                i = open;
                continue;
            }
            int j = open + 1;
            if (j < n && (line[j] == QLatin1Char('/') || line[j] == QLatin1Char('!') || line[j] == QLatin1Char('?'))) ++j;
            while (j < n && (line[j].isLetterOrNumber() || line[j] == QLatin1Char('-') || line[j] == QLatin1Char(':'))) ++j;
            setFormat(open, j - open, tag_);
            state = InTag;
            i = j;
        }
        setCurrentBlockState(state);
    }

private:
    // Inside a tag: attribute names, values, up to the closing ">".
    int tagInside(const QString& line, int i, int& state) {
        const int n = static_cast<int>(line.size());
        while (i < n) {
            const QChar c = line[i];
            if (c == QLatin1Char('>') || (c == QLatin1Char('/') && i + 1 < n && line[i + 1] == QLatin1Char('>'))) {
                const int len = c == QLatin1Char('>') ? 1 : 2;
                setFormat(i, len, tag_);
                state = Text;
                return i + len;
            }
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                int end = static_cast<int>(line.indexOf(c, i + 1));
                end = end < 0 ? n : end + 1;
                setFormat(i, end - i, string_);
                i = end;
                continue;
            }
            if (c.isSpace() || c == QLatin1Char('=')) {
                ++i;
                continue;
            }
            int j = i;
            while (j < n && !line[j].isSpace() && line[j] != QLatin1Char('=') && line[j] != QLatin1Char('>') &&
                   line[j] != QLatin1Char('"') && line[j] != QLatin1Char('\''))
                ++j;
            if (j == i) ++j;
            setFormat(i, j - i, attribute_);
            i = j;
        }
        return i;
    }

    QTextCharFormat tag_, attribute_, string_, comment_;
};

}  // namespace

QtMarkupView::QtMarkupView(QWidget* parent) : QWidget(parent), edit_(new QPlainTextEdit(this)), findBar_(new QtFindBar(this)) {
    setObjectName(QStringLiteral("txtSource"));
    edit_->setObjectName(QStringLiteral("txtSourceText"));
    edit_->setReadOnly(true);
    edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    new MarkupHighlighter(edit_->document());
    setFocusProxy(edit_);
    findBar_->setFinder([this](const QString& text, bool backward, std::function<void(int, int)> answer) {
        int active = 0, total = 0;
        find(text, backward, active, total);
        answer(active, total);
    });
    // The find keys are the window's (a second shortcut on the same key here
    // would make both ambiguous); it sends them on while the box is shown.
}

void QtMarkupView::findAgain(bool backward) {
    if (!findBar_->isVisible() || findBar_->edit()->text().isEmpty()) return showFindBar();
    backward ? findBar_->findPrevious() : findBar_->findNext();
}

void QtMarkupView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    edit_->setGeometry(rect());
    const int fh = findBar_->sizeHint().height();
    findBar_->setGeometry(0, height() - fh, width(), fh);
}

void QtMarkupView::showFindBar() {
    const int fh = findBar_->sizeHint().height();
    findBar_->setGeometry(0, height() - fh, width(), fh);
    findBar_->open();
}

void QtMarkupView::find(const QString& text, bool backward, int& active, int& total) {
    active = total = 0;
    QTextDocument* doc = edit_->document();
    if (text.isEmpty()) {
        QTextCursor c = edit_->textCursor();
        c.clearSelection();
        edit_->setTextCursor(c);
        return;
    }
    // Typing more stays on the same place; "next" moves on from the current match.
    const QTextCursor current = edit_->textCursor();
    const bool onMatch = current.hasSelection() && current.selectedText().compare(text, Qt::CaseInsensitive) == 0;
    QTextCursor from(doc);
    from.setPosition(backward || !onMatch ? current.selectionStart() : current.selectionEnd());
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = doc->find(text, from, flags);
    if (found.isNull()) {
        QTextCursor wrap(doc);
        if (backward) wrap.movePosition(QTextCursor::End);
        found = doc->find(text, wrap, flags);
    }
    if (found.isNull()) return;
    edit_->setTextCursor(found);
    edit_->ensureCursorVisible();
    // Counting the matches: a bounded walk keeps a huge page responsive.
    QTextCursor c(doc);
    for (int k = 0; k < 100000; ++k) {
        c = doc->find(text, c);
        if (c.isNull()) break;
        ++total;
        if (c.selectionStart() == found.selectionStart()) active = total;
    }
}

QtMarkupBox::QtMarkupBox(QWidget* parent) : QtControl(new QtMarkupView(parent)) {}

std::string QtMarkupBox::text() const { return w_ ? w_->edit()->toPlainText().toStdString() : std::string(); }

void QtMarkupBox::setText(const std::string& text) {
    if (!w_) return;
    w_->edit()->setPlainText(QString::fromStdString(text));
    if (text.empty()) w_->findBar()->close();
}

void QtMarkupBox::showFindBar() {
    if (w_) w_->showFindBar();
}

void QtMarkupBox::findAgain(bool backward) {
    if (w_) w_->findAgain(backward);
}

void QtMarkupBox::setFocus() {
    if (w_) w_->edit()->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<MarkupBox> QtChildFactory::markupBox(QWidget* parent) { return std::make_unique<QtMarkupBox>(parent); }

}  // namespace corvano::qt
