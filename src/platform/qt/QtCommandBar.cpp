#include "platform/qt/QtCommandBar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "platform/CommandBars.h"
#include "platform/ImageList.h"
#include "platform/qt/QtBarStyle.h"
#include "platform/qt/QtContainer.h"
#include "platform/qt/QtIcons.h"

namespace corvano::qt {

namespace {

CommandBars* g_model = nullptr;
// Fits 16-pixel icons with a frame around the buttons.
constexpr int kBarHeightPx = 24;
constexpr int kMaxDepth = 4;  // nested drop-downs, against a bar that opens itself
// On each button: the key of its entry, and the key that runs its command too.
const char* const kKeyProperty = "corvanoEntry";
const char* const kShortcutProperty = "corvanoShortcut";

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool opensMenu(const Entry& e) { return e.dropDown() && e.bar(); }

// The menu a bar button opens: its entry's drop-down, or the list of "»".
QMenu* menuOf(const QToolButton* b) {
    if (b->menu()) return b->menu();
    return b->defaultAction() ? b->defaultAction()->menu<QMenu*>() : nullptr;
}

// Shown as written: a single "&" is no mnemonic.
QString shown(const std::string& s) { return qs(s).replace('&', "&&"); }

// The tooltip as shown, with the key that runs the same command.
QString toolTipText(const Entry& e) {
    QString tip = qs(e.toolTip());
    if (!e.shortcut().empty() && !tip.isEmpty()) tip += " (" + qs(e.shortcut()) + ")";
    return tip;
}

// The name a screen reader says: the caption, else the tooltip.
QString accessibleName(const Entry& e) {
    QString name = qs(e.caption().empty() ? e.toolTip() : e.caption());
    name.remove(QRegularExpression("&(?!&)"));
    return name;
}

// A bar button for assistive technology. Qt's own offers no press on a
// button that opens a menu at once, and its open-menu action does nothing
// there; and a press is answered first, then carried out, as the tool that
// asked may be waiting for the answer.
class BarButtonAccessible : public QAccessibleWidget {
public:
    explicit BarButtonAccessible(QToolButton* b) : QAccessibleWidget(b, QAccessible::PushButton) {}

    QAccessible::Role role() const override { return menuOf(button()) ? QAccessible::ButtonMenu : QAccessible::PushButton; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Accelerator) return button()->property(kShortcutProperty).toString();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State st = QAccessibleWidget::state();
        st.focusable = true;  // through F10
        st.hasPopup = menuOf(button()) != nullptr;
        return st;
    }
    QStringList actionNames() const override {
        QStringList names{pressAction()};
        if (menuOf(button())) names << showMenuAction();
        return names;
    }
    void doAction(const QString& name) override {
        if (!actionNames().contains(name)) return;
        QPointer<QToolButton> b = button();
        QTimer::singleShot(0, b, [b] {
            if (b && menuOf(b))
                b->showMenu();
            else if (b)
                b->click();
        });
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        const QString key = button()->property(kShortcutProperty).toString();
        return name == pressAction() && !key.isEmpty() ? QStringList{key} : QStringList{};
    }

private:
    QToolButton* button() const { return static_cast<QToolButton*>(widget()); }
};

QAccessibleInterface* barButtonFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QToolButton") || !object->property(kKeyProperty).isValid()) return nullptr;
    return new BarButtonAccessible(static_cast<QToolButton*>(object));
}

bool isOwnKey(const QKeyEvent& key) {
    static const int kOwn[] = {Qt::Key_Escape, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End,
                               Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Down};
    return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
           std::find(std::begin(kOwn), std::end(kOwn), key.key()) != std::end(kOwn);
}

std::vector<QtCommandBar*> keyboardBars(QWidget* window);

}  // namespace

// The tool bar of one control. Its buttons take the keyboard only through
// F10: a click, the window's activation and Tab leave it where it was.
class BarWidget : public QToolBar {
public:
    BarWidget(QWidget* parent, QtCommandBar& owner) : QToolBar(parent), owner_(owner) {
        setMovable(false);
        setFloatable(false);
        setIconSize(QSize(16, 16));
        // A toolbar's compact type, as on the platforms these looks come from.
        QFont f = font();
        f.setPointSizeF(std::min<qreal>(f.pointSizeF() > 0 ? f.pointSizeF() : 9.0, 8.5));
        setFont(f);
        if (auto* more = findChild<QToolButton*>("qt_toolbar_ext_button")) {
            more->installEventFilter(this);
            // Drawn in the look's colour of text.
            more->setIcon(QIcon());
            more->setText(QStringLiteral("\u00bb"));
        }
    }
    QtCommandBar& owner() const { return owner_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* b = qobject_cast<QToolButton*>(watched);
        if (!b || !b->hasFocus()) return false;
        if (event->type() == QEvent::ShortcutOverride && isOwnKey(*static_cast<QKeyEvent*>(event))) {
            // While the keyboard is on the bar its keys are the bar's, Escape
            // too (which would otherwise stop the page or end the main window).
            event->accept();
            return true;
        }
        if (event->type() != QEvent::KeyPress || !isOwnKey(*static_cast<QKeyEvent*>(event))) return false;
        const bool rtl = layoutDirection() == Qt::RightToLeft;
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Left: move(b, rtl ? 1 : -1); break;
            case Qt::Key_Right: move(b, rtl ? -1 : 1); break;
            case Qt::Key_Home: owner_.takeKeyboard(true, owner_.returnFocus_); break;
            case Qt::Key_End: owner_.takeKeyboard(false, owner_.returnFocus_); break;
            case Qt::Key_Down:
                if (menuOf(b)) b->showMenu();
                break;
            case Qt::Key_Escape: {
                // Back to where the keyboard was before the bar, else to the window.
                QPointer<QWidget> back = owner_.returnFocus_;
                b->clearFocus();
                if (back && back->isVisible() && back->window() == window()) back->setFocus(Qt::OtherFocusReason);
                break;
            }
            default:  // Enter, Space
                if (menuOf(b))
                    b->showMenu();
                else
                    b->click();
        }
        return true;
    }

private:
    // Past a bar's last button the keyboard goes on to the window's next bar
    // (past its first, to the previous one), or round to the other end.
    void move(QToolButton* from, int step) {
        const std::vector<QToolButton*> stops = owner_.keyboardStops();
        const auto at = std::find(stops.begin(), stops.end(), from);
        if (at == stops.end()) return;
        const auto next = (at - stops.begin()) + step;
        if (next >= 0 && next < static_cast<std::ptrdiff_t>(stops.size())) {
            stops[static_cast<size_t>(next)]->setFocus(Qt::ShortcutFocusReason);
            return;
        }
        const std::vector<QtCommandBar*> bars = keyboardBars(window());
        const auto self = std::find(bars.begin(), bars.end(), &owner_);
        QtCommandBar* to = &owner_;
        if (self != bars.end()) {
            const auto n = static_cast<std::ptrdiff_t>(bars.size());
            to = bars[static_cast<size_t>(((self - bars.begin()) + (step > 0 ? 1 : -1) + n) % n)];
        }
        to->takeKeyboard(step > 0, owner_.returnFocus_);
    }

    QtCommandBar& owner_;
};

namespace {

// The window's bars that take the keyboard, by their control index.
std::vector<QtCommandBar*> keyboardBars(QWidget* window) {
    std::vector<QtCommandBar*> bars;
    for (QToolBar* t : window->findChildren<QToolBar*>())
        if (auto* w = dynamic_cast<BarWidget*>(t); w && w->isVisible() && !w->owner().keyboardStops().empty())
            bars.push_back(&w->owner());
    std::sort(bars.begin(), bars.end(), [](QtCommandBar* a, QtCommandBar* b) { return a->index() < b->index(); });
    return bars;
}

}  // namespace

void setCommandBarModel(CommandBars* model) { g_model = model; }
CommandBars* commandBarModel() { return g_model; }

QtCommandBar::QtCommandBar(QWidget* parent, int index, BarClickHandler onClick)
    : QtControl(new BarWidget(parent, *this)), index_(index), onClick_(std::move(onClick)) {
    static const bool accessible = (QAccessible::installFactory(barButtonFactory), true);
    (void)accessible;
    w_->resize(w_->width(), kBarHeightPx);
    setBarStyle(0);
    attach();
    w_->show();
}

QtCommandBar::~QtCommandBar() {
    if (model_) model_->unsubscribe(token_);
}

void QtCommandBar::attach() {
    if (model_ || !g_model) return;
    model_ = g_model;
    token_ = model_->subscribe([this] { refresh(); });
}

void QtCommandBar::setBar(const std::string& key) {
    bar_ = key;
    attach();
    refresh();
}

void QtCommandBar::setBarStyle(int style) {
    style_ = style;
    if (w_) w_->setStyleSheet(barStyleSheet(barLook(style)));
}

void QtCommandBar::setImageList(const ImageList* images) {
    images_ = images;
    refresh();
}

void QtCommandBar::rebuild(const Bar* bar) {
    for (Item& item : items_) {
        delete item.action;
        if (item.menu) item.menu->deleteLater();
    }
    items_.clear();
    if (!bar || !w_) return;
    for (const Entry* e : bar->entries()) {
        Item item{e->key(), nullptr, nullptr};
        if (e->style() == entrystyle::Separator) {
            item.action = w_->addSeparator();
            items_.push_back(item);
            continue;
        }
        item.action = new QAction(w_);
        QObject::connect(item.action, &QAction::triggered, w_, [this, key = e->key()] { deliverLater(key, false); });
        // The menu comes before the button: set later, the tool bar would make a new one.
        if (opensMenu(*e)) {
            auto* menu = new BarMenu(w_);
            QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu, key = e->key()] { showingMenu(*menu, key); });
            item.action->setMenu(menu);
            item.menu = menu;
        }
        w_->addAction(item.action);
        auto* b = static_cast<QToolButton*>(w_->widgetForAction(item.action));
        b->setProperty(kKeyProperty, qs(e->key()));
        b->installEventFilter(w_);
        // Open at once on a click, not after a delay or from a separate arrow.
        if (item.menu) b->setPopupMode(QToolButton::InstantPopup);
        items_.push_back(item);
    }
}

void QtCommandBar::refresh() {
    if (!w_) return;
    const Bar* bar = model_ ? model_->bar(bar_) : nullptr;
    // Built again when an entry came or went, or began or ceased to open a menu.
    const std::vector<Entry*> none;
    const std::vector<Entry*>& entries = bar ? bar->entries() : none;
    if (!std::equal(entries.begin(), entries.end(), items_.begin(), items_.end(), [](const Entry* e, const Item& i) {
            return e->key() == i.key && (i.menu != nullptr) == (e->style() != entrystyle::Separator && opensMenu(*e));
        }))
        rebuild(bar);
    for (const Item& item : items_) {
        const Entry* e = model_->entry(item.key);
        auto* b = static_cast<QToolButton*>(w_->widgetForAction(item.action));
        if (!e || item.action->isSeparator() || !b) continue;
        const bool captioned = e->captionOnBar() && !e->caption().empty();
        const QString tip = toolTipText(*e);
        // The text also names the entry in the "»" menu.
        item.action->setText(shown(captioned ? e->caption() : accessibleName(*e).toStdString()));
        item.action->setIconText(item.action->text());
        item.action->setIcon(images_ ? barIcon(images_->sourceOfIcon(e->icon())) : QIcon());
        item.action->setToolTip(tip);
        // The button takes these from its action at every change: set after them.
        b->setToolTip(tip);
        if (const auto look = captioned ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly;
            b->toolButtonStyle() != look) {
            b->setToolButtonStyle(look);
            // The style sheet sizes a captioned button by this property: read it again.
            b->style()->unpolish(b);
            b->style()->polish(b);
        }
        b->setAccessibleName(accessibleName(*e));
        b->setAccessibleDescription(qs(e->toolTip()));
        b->setProperty(kShortcutProperty, qs(e->shortcut()));
    }
}

void QtCommandBar::showingMenu(QMenu& menu, const std::string& key) {
    menu.clear();
    const Entry* e = model_ ? model_->entry(key) : nullptr;
    if (!e || !e->bar()) return;
    // Drop-downs take the look of the control that hosts them.
    CommandBarControl* host = model_->host();
    const BarLook& look = barLook(host ? host->barStyle() : style_);
    static_cast<BarMenu&>(menu).setLook(look);
    menu.setFont(w_->font());
    fillMenu(menu, e->bar()->entries(), 0);
    // Opened from the keyboard, the menu starts on its first item.
    QToolButton* b = button(key);
    if (b && b->hasFocus())
        for (QAction* first : menu.actions())
            if (!first->isSeparator()) {
                menu.setActiveAction(first);
                break;
            }
}

void QtCommandBar::fillMenu(QMenu& menu, const std::vector<Entry*>& entries, int depth) {
    bool tips = false;
    for (const Entry* e : entries) {
        if (e->style() == entrystyle::Separator) {
            // No separator at the top or twice in a row.
            if (!menu.actions().isEmpty() && !menu.actions().constLast()->isSeparator()) menu.addSeparator();
            continue;
        }
        const QIcon icon = images_ ? barIcon(images_->sourceOfIcon(e->icon())) : QIcon();
        QString text = shown(e->caption());
        // A menu shows the key of its item at the right, after a tab.
        if (!e->shortcut().empty()) text += '\t' + qs(e->shortcut());
        if (opensMenu(*e) && depth < kMaxDepth) {
            auto* sub = new BarMenu(&menu);
            sub->setLook(static_cast<BarMenu&>(menu).look());
            sub->setTitle(text);
            sub->setIcon(icon);
            sub->setFont(menu.font());
            fillMenu(*sub, e->bar()->entries(), depth + 1);
            menu.addMenu(sub);
            continue;
        }
        QAction* a = menu.addAction(icon, text);
        a->setData(qs(e->key()));
        QObject::connect(a, &QAction::triggered, w_, [this, key = e->key()] { deliverLater(key, true); });
        if (!e->toolTip().empty()) {
            a->setToolTip(toolTipText(*e));
            tips = true;
        }
        if (e->style() == entrystyle::Option) {
            a->setCheckable(true);
            a->setChecked(e->checked());
        }
    }
    menu.setToolTipsVisible(tips);
}

void QtCommandBar::deliverLater(const std::string& key, bool toHost) {
    QMetaObject::invokeMethod(
        w_,
        [this, key, toHost] {
            Entry* e = model_ ? model_->entry(key) : nullptr;
            // A button that opens a menu has done its work.
            if (!e || (!toHost && opensMenu(*e))) return;
            // Every drop-down click goes to the host, whichever bar opened the menu.
            if (!toHost) return deliver(*e);
            if (CommandBarControl* host = model_->host()) host->click(*e);
        },
        Qt::QueuedConnection);
}

void QtCommandBar::deliver(Entry& entry) {
    // The handler may close the window that owns this control: keep a copy.
    BarClickHandler handler = onClick_;
    if (handler) handler(index_, entry);
}

QToolButton* QtCommandBar::button(const std::string& key) const {
    for (const Item& item : items_)
        if (item.key == key && !item.action->isSeparator() && w_)
            return qobject_cast<QToolButton*>(w_->widgetForAction(item.action));
    return nullptr;
}

std::string QtCommandBar::focusedKey() const {
    QWidget* f = QApplication::focusWidget();
    return f && f->parentWidget() == w_ ? f->property(kKeyProperty).toString().toStdString() : std::string();
}

bool QtCommandBar::hasOverflow() const {
    auto* more = w_ ? w_->findChild<QToolButton*>("qt_toolbar_ext_button") : nullptr;
    return more && !more->isHidden();
}

std::vector<QToolButton*> QtCommandBar::keyboardStops() const {
    std::vector<QToolButton*> stops;
    for (const Item& item : items_)
        if (QToolButton* b = button(item.key); b && !b->isHidden()) stops.push_back(b);
    if (hasOverflow()) stops.push_back(w_->findChild<QToolButton*>("qt_toolbar_ext_button"));
    return stops;
}

bool QtCommandBar::takeKeyboard(bool first, QWidget* returnTo) {
    const std::vector<QToolButton*> stops = keyboardStops();
    if (stops.empty()) return false;
    // F10 again, on a bar, keeps the way back.
    if (!returnTo || !dynamic_cast<BarWidget*>(returnTo->parentWidget())) returnFocus_ = returnTo;
    (first ? stops.front() : stops.back())->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool focusFirstBar(QWidget* window) {
    const std::vector<QtCommandBar*> bars = keyboardBars(window);
    return !bars.empty() && bars.front()->takeKeyboard(true, QApplication::focusWidget());
}

std::unique_ptr<CommandBarControl> QtChildFactory::commandBar(QWidget* parent, int index, BarClickHandler onClick) {
    return std::make_unique<QtCommandBar>(parent, index, std::move(onClick));
}

}  // namespace corvano::qt
