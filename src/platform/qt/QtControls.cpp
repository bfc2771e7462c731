#include "platform/qt/QtControls.h"

#include <QKeyEvent>
#include <QLineEdit>

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
std::unique_ptr<WebView> QtPanel::createWebView() { return QtChildFactory::webView(w_); }
std::unique_ptr<MarkupBox> QtPanel::createMarkupBox() { return QtChildFactory::markupBox(w_); }

// Hands every typed character to onKeyPress first, so the logic may consume it.
class QtComboBox::KeyFilter : public QObject {
public:
    explicit KeyFilter(QtComboBox& owner) : owner_(owner) {}

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() != QEvent::KeyPress || !owner_.onKeyPress) return QObject::eventFilter(obj, ev);
        auto* ke = static_cast<QKeyEvent*>(ev);
        int ch = 0;
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter)
            ch = 13;
        else if (!ke->text().isEmpty())
            ch = ke->text().at(0).unicode();
        if (ch == 0) return false;
        return owner_.onKeyPress(ch);
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
    w_->show();
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
int QtComboBox::itemCount() const { return w_ ? w_->count() : 0; }
std::string QtComboBox::item(int index) const { return w_ ? w_->itemText(index).toStdString() : std::string(); }

QtLabel::QtLabel(QWidget* parent) : QtControl(new QLabel(parent)) { w_->hide(); }
std::string QtLabel::text() const { return w_ ? w_->text().toStdString() : std::string(); }
void QtLabel::setText(const std::string& text) {
    if (w_) w_->setText(QString::fromStdString(text));
}

}  // namespace corvano::qt
