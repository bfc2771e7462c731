#include "platform/qt/QtControls.h"

#include <QKeyEvent>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include "platform/qt/QtContainer.h"

namespace corvano::qt {

QtPanel::QtPanel(QWidget* parent) : QtControl(new QWidget(parent)) {
    w_->setAutoFillBackground(false);
    w_->show();
}

std::unique_ptr<Panel> QtPanel::createPanel() { return QtChildFactory::panel(w_); }
std::unique_ptr<CommandBarControl> QtPanel::createCommandBar(int index, BarClickHandler onClick) {
    return QtChildFactory::commandBar(w_, index, std::move(onClick));
}
std::unique_ptr<ComboBox> QtPanel::createComboBox() { return QtChildFactory::comboBox(w_); }
std::unique_ptr<Label> QtPanel::createLabel() { return QtChildFactory::label(w_); }
std::unique_ptr<WebView> QtPanel::createWebView(const WebProfile& profile) { return QtChildFactory::webView(w_, profile); }
std::unique_ptr<TextEditBox> QtPanel::createTextEditBox() { return QtChildFactory::textEditBox(w_); }
std::unique_ptr<MarkupBox> QtPanel::createMarkupBox() { return QtChildFactory::markupBox(w_); }

// Hands Enter to the logic before the box or the window act on it.
class QtComboBox::KeyFilter : public QObject {
public:
    explicit KeyFilter(QtComboBox& owner) : owner_(owner) {}

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        // A click into the box selects the whole address, as in a browser.
        if (ev->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(ev)->reason() == Qt::MouseFocusReason &&
            owner_.w_) {
            QPointer<QLineEdit> edit = owner_.w_->lineEdit();
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
        if (ev->type() != QEvent::KeyPress || !owner_.onKeyPress) return QObject::eventFilter(obj, ev);
        const int key = static_cast<QKeyEvent*>(ev)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        return owner_.onKeyPress(13);
    }

private:
    QtComboBox& owner_;
};

QtComboBox::QtComboBox(QWidget* parent) : QtControl(new QComboBox(parent)) {
    w_->setEditable(true);
    w_->setInsertPolicy(QComboBox::NoInsert);
    w_->setMaxVisibleItems(17);
    filter_ = new KeyFilter(*this);
    filter_->setParent(w_);
    w_->installEventFilter(filter_);
    w_->lineEdit()->installEventFilter(filter_);
    QObject::connect(w_, &QComboBox::activated, w_, [this](int) {
        if (onClick) onClick();
    });

    // The history list below the box while typing, driven by the logic.
    w_->setCompleter(nullptr);
    completions_ = new QStringListModel(w_);
    completer_ = new QCompleter(completions_, w_);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setMaxVisibleItems(12);
    completer_->setWidget(w_->lineEdit());
    QObject::connect(w_->lineEdit(), &QLineEdit::textEdited, w_, [this](const QString& text) {
        if (onEdited) onEdited(text.toStdString());
    });
    QObject::connect(completer_, qOverload<const QString&>(&QCompleter::highlighted), w_,
                     [this](const QString& text) { w_->lineEdit()->setText(text); });
    QObject::connect(completer_, qOverload<const QString&>(&QCompleter::activated), w_, [this](const QString& text) {
        w_->lineEdit()->setText(text);
        // Enter on the list also reaches the box right after; a click does not.
        choicePending_ = true;
        QTimer::singleShot(0, w_, [this] {
            if (!choicePending_) return;
            choicePending_ = false;
            if (onClick) onClick();
        });
    });
    // An Enter on the list reaches the line edit directly, not the filter.
    QObject::connect(w_->lineEdit(), &QLineEdit::returnPressed, w_, [this] {
        choicePending_ = false;
        if (onKeyPress) onKeyPress(13);
    });
    w_->show();
}

void QtComboBox::selectAll() {
    if (w_) w_->lineEdit()->selectAll();
}

void QtComboBox::offerCompletions(const std::vector<std::string>& items, const std::string& inlineText) {
    if (!w_) return;
    QStringList list;
    for (const auto& i : items) list << QString::fromStdString(i);
    completions_->setStringList(list);
    QLineEdit* edit = w_->lineEdit();
    const QString typed = edit->text();
    const QString full = QString::fromStdString(inlineText);
    if (!full.isEmpty() && full.startsWith(typed) && full.size() > typed.size() && edit->cursorPosition() == typed.size()) {
        edit->setText(full);
        edit->setSelection(full.size(), typed.size() - full.size());
    }
    if (list.isEmpty()) {
        completer_->popup()->hide();
        return;
    }
    completer_->complete();
    // The list offers; nothing is chosen until the user moves into it.
    completer_->popup()->setCurrentIndex(QModelIndex());
}

std::string QtComboBox::text() const { return w_ ? w_->currentText().toStdString() : std::string(); }
void QtComboBox::setText(const std::string& text) {
    if (w_) w_->setEditText(QString::fromStdString(text));
}
void QtComboBox::addItem(const std::string& item) {
    if (!w_) return;
    // Adding must not replace what the user is typing.
    const QString keep = w_->currentText();
    w_->addItem(QString::fromStdString(item));
    w_->setEditText(keep);
}
void QtComboBox::clearItems() {
    if (!w_) return;
    const QString keep = w_->currentText();
    w_->clear();
    w_->setEditText(keep);
}
bool QtComboBox::hasFocus() const { return w_ && (w_->hasFocus() || w_->lineEdit()->hasFocus()); }
int QtComboBox::itemCount() const { return w_ ? w_->count() : 0; }
std::string QtComboBox::item(int index) const { return w_ ? w_->itemText(index).toStdString() : std::string(); }

std::unique_ptr<Button> QtPanel::createButton() { return QtChildFactory::button(w_); }
std::unique_ptr<Picture> QtPanel::createPicture() { return QtChildFactory::picture(w_); }

// A left click on a link label reaches the logic.
class QtLabel::ClickFilter : public QObject {
public:
    explicit ClickFilter(QtLabel& owner) : owner_(owner) {}

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(ev)->button() == Qt::LeftButton &&
            owner_.onClick) {
            owner_.onClick();
            return true;
        }
        return QObject::eventFilter(obj, ev);
    }

private:
    QtLabel& owner_;
};

QtLabel::QtLabel(QWidget* parent) : QtControl(new QLabel(parent)) {
    // A label keeps its width and breaks longer texts into lines.
    w_->setWordWrap(true);
    w_->hide();
    auto* filter = new ClickFilter(*this);
    filter->setParent(w_);
    w_->installEventFilter(filter);
}

void QtLabel::setLink(bool on) {
    if (!w_) return;
    w_->setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QPalette pal = w_->palette();
    pal.setColor(QPalette::WindowText, on ? w_->palette().color(QPalette::Link) : QPalette().color(QPalette::WindowText));
    w_->setPalette(pal);
    QFont f = w_->font();
    f.setUnderline(on);
    w_->setFont(f);
}
std::string QtLabel::text() const { return w_ ? w_->text().toStdString() : std::string(); }
void QtLabel::setText(const std::string& text) {
    if (w_) w_->setText(QString::fromStdString(text));
}

}  // namespace corvano::qt
