#include "platform/qt/QtFindBar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>

#include "platform/qt/QtTexts.h"

namespace corvano::qt {

namespace {
}  // namespace

QtFindBar::QtFindBar(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)), count_(new QLabel(this)) {
    setObjectName(QStringLiteral("findBar"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    edit_->setObjectName(QStringLiteral("findEdit"));
    edit_->setClearButtonEnabled(true);
    count_->setObjectName(QStringLiteral("findCount"));
    count_->setMinimumWidth(80);

    auto makeButton = [this](const QString& text) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setAutoRaise(true);
        return b;
    };
    QToolButton* prev = makeButton(QStringLiteral("\u25B2"));
    QToolButton* next = makeButton(QStringLiteral("\u25BC"));
    QToolButton* done = makeButton(QStringLiteral("\u2715"));
    prev->setObjectName(QStringLiteral("findPrevious"));
    next->setObjectName(QStringLiteral("findNext"));
    done->setObjectName(QStringLiteral("findClose"));
    buttons_ = {prev, next, done};
    takeTexts();
    connect(QtTexts::instance(), &QtTexts::changed, this, &QtFindBar::takeTexts);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    row->addWidget(edit_, 1);
    row->addWidget(prev);
    row->addWidget(next);
    row->addWidget(count_);
    row->addWidget(done);

    connect(edit_, &QLineEdit::textChanged, this, [this] { find(false); });
    connect(edit_, &QLineEdit::returnPressed, this, [this] {
        find(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
    });
    connect(prev, &QToolButton::clicked, this, &QtFindBar::findPrevious);
    connect(next, &QToolButton::clicked, this, &QtFindBar::findNext);
    connect(done, &QToolButton::clicked, this, &QtFindBar::close);
    hide();
}

void QtFindBar::takeTexts() {
    edit_->setPlaceholderText(uiText(TextId::FindPlaceholder));
    const TextId tips[] = {TextId::FindPrevious, TextId::FindNext, TextId::FindClose};
    for (size_t i = 0; i < 3; ++i) buttons_[i]->setToolTip(uiText(tips[i]));
    // The count shown stays until the next search, now in the new language.
    if (shown_) showCount(shown_->first, shown_->second);
}

void QtFindBar::open() {
    show();
    raise();
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->selectAll();
    if (!edit_->text().isEmpty()) find(false);
}

void QtFindBar::close() {
    if (page_) page_->findText(QString());
    if (finder_) finder_(QString(), false, [](int, int) {});
    count_->clear();
    shown_.reset();
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
    if (hadFocus && parentWidget()) parentWidget()->setFocus(Qt::OtherFocusReason);
}

void QtFindBar::findNext() { find(false); }
void QtFindBar::findPrevious() { find(true); }

QString QtFindBar::countText() const { return count_->text(); }

void QtFindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool QtFindBar::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void QtFindBar::find(bool backward) {
    if (finder_) {
        QPointer<QtFindBar> self(this);
        finder_(edit_->text(), backward, [self](int active, int total) {
            if (self) self->showCount(active, total);
        });
        if (edit_->text().isEmpty()) count_->clear();
        return;
    }
    if (!page_) return;
    const QString text = edit_->text();
    if (text.isEmpty()) {
        page_->findText(QString());
        count_->clear();
        shown_.reset();
        return;
    }
    QPointer<QtFindBar> self(this);
    const QString asked = text;
    page_->findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags(),
                    [self, asked](const QWebEngineFindTextResult& r) {
                        // A late answer for an older text is not shown.
                        if (self && self->edit_->text() == asked) self->showResult(r);
                    });
}

void QtFindBar::showResult(const QWebEngineFindTextResult& r) { showCount(r.activeMatch(), r.numberOfMatches()); }

void QtFindBar::showCount(int active, int total) {
    // Kept so a language switch can say it again in the new words.
    shown_ = std::make_pair(active, total);
    if (total == 0)
        count_->setText(uiText(TextId::FindNoMatches));
    else
        count_->setText(uiText(TextId::FindMatchOf).arg(active).arg(total));
}

}  // namespace corvano::qt
