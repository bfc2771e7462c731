#include "platform/qt/QtCommandBarStrip.h"

#include <QCursor>
#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <climits>

#include "bars/CommandBars.h"
#include "bars/ImageList.h"
#include "platform/qt/QtBarAccessible.h"
#include "platform/qt/QtBarStyle.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtIcons.h"

namespace corvano::qt {

namespace {

constexpr int kIcon = 16;
constexpr int kPad = 2;          // inside a button, left and right
constexpr int kGap = 4;          // icon to caption
constexpr int kArrow = 6;        // drop-down arrow area
constexpr int kSeparator = 6;
constexpr int kChevron = 14;
constexpr int kMaxDepth = 4;     // nested drop-downs, against a bar that opens itself
const char* const kOwnProperty = "corvanoOwn";

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool opensMenu(const Entry& e) { return e.dropDown() && e.bar(); }

}  // namespace

BarMenu::BarMenu(const BarLook& look, QWidget* parent) : QMenu(parent), look_(look) {
    setStyleSheet(menuStyleSheet(look));
}

void BarMenu::paintEvent(QPaintEvent* event) {
    {
        QPainter p(this);
        p.fillRect(rect(), look_.menuBack);
        const QRect column(1, 1, kMenuColumn, height() - 2);
        QLinearGradient g(column.topLeft(), column.topRight());
        g.setColorAt(0, look_.menuColumnLeft);
        g.setColorAt(1, look_.menuColumnRight);
        p.fillRect(column, g);
    }
    QMenu::paintEvent(event);
    QPainter p(this);
    p.setPen(look_.menuBorder);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

BarStrip::BarStrip(QWidget* parent, QtCommandBar& owner) : QWidget(parent), owner_(owner) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_Hover);
    // Reached with F10 only: neither a click nor the window's activation nor
    // Tab takes the keyboard away from the page or the address box.
    setFocusPolicy(Qt::NoFocus);
    installBarAccessibility();
    // A toolbar's compact type, as on the platforms these looks come from.
    QFont f = font();
    f.setPointSizeF(std::min<qreal>(f.pointSizeF() > 0 ? f.pointSizeF() : 9.0, 8.5));
    setFont(f);
}

QSize BarStrip::sizeHint() const {
    int right = 0;
    for (const Slot& s : slots_) right = std::max(right, s.rect.right() + 1);
    return {right + 2, 24};
}

void BarStrip::refresh() {
    layoutSlots();
    update();
}

void BarStrip::resizeEvent(QResizeEvent*) { layoutSlots(); }

Entry* BarStrip::entryOf(int slot) const {
    if (slot < 0 || slot >= static_cast<int>(slots_.size()) || !owner_.model_) return nullptr;
    return owner_.model_->entry(slots_[static_cast<size_t>(slot)].key);
}

void BarStrip::layoutSlots() {
    // The keyboard stays on its button when the bar is laid out again.
    const std::string focused = focusedKey();
    const bool onChevron = focus_ == kOverflow;
    focus_ = -1;
    struct Restore {
        BarStrip& s;
        const std::string& key;
        bool chevron;
        ~Restore() {
            if (chevron && s.overflowFrom_ >= 0) s.focus_ = kOverflow;
            for (size_t i = 0; i < s.slots_.size() && !key.empty(); ++i)
                if (s.slots_[i].key == key && (s.overflowFrom_ < 0 || static_cast<int>(i) < s.overflowFrom_))
                    s.focus_ = static_cast<int>(i);
        }
    } restore{*this, focused, onChevron};
    slots_.clear();
    overflowFrom_ = -1;
    hover_ = pressed_ = -1;
    const Bar* bar = owner_.model_ ? owner_.model_->bar(owner_.bar_) : nullptr;
    if (!bar) return;
    const ImageList* images = owner_.images_;
    const QFontMetrics fm(font());
    const int bh = std::max(kIcon + 2, std::min(height() - 2, 22));
    const int y = (height() - bh) / 2;
    int x = 2;
    for (const Entry* e : bar->entries()) {
        Slot slot;
        slot.key = e->key();
        slot.separator = e->style() == entrystyle::Separator;
        int w = kSeparator;
        if (!slot.separator) {
            const bool icon = images && e->icon() >= 0 && e->icon() < images->count();
            const bool text = e->captionOnBar() && !e->caption().empty();
            w = kPad * 2;
            if (icon) w += kIcon;
            if (text) w += (icon ? kGap : 0) + fm.horizontalAdvance(qs(e->caption())) + 1;
            if (opensMenu(*e)) w += kArrow;
            // Compact enough for a browser window's eight buttons in its 2860 twips.
            w = std::max(w, kIcon + 2 * kPad);
        }
        slot.rect = QRect(x, y, w, bh);
        slots_.push_back(slot);
        x += w;
    }
    // What does not fit goes behind a chevron at the right end.
    if (x + 1 > width()) {
        const int limit = width() - kChevron - 3;
        for (size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].rect.right() > limit) {
                overflowFrom_ = static_cast<int>(i);
                break;
            }
    }
}

QRect BarStrip::overflowRect() const {
    const int bh = slots_.empty() ? height() - 2 : slots_.front().rect.height();
    return QRect(width() - kChevron - 2, (height() - bh) / 2, kChevron, bh);
}

int BarStrip::slotAt(const QPoint& pos) const {
    if (overflowFrom_ >= 0 && overflowRect().contains(pos)) return kOverflow;
    const int shown = overflowFrom_ >= 0 ? overflowFrom_ : static_cast<int>(slots_.size());
    for (int i = 0; i < shown; ++i) {
        const Slot& s = slots_[static_cast<size_t>(i)];
        if (!s.separator && s.rect.contains(pos)) return i;
    }
    return -1;
}

QRect BarStrip::buttonRect(const std::string& key) const {
    const int shown = overflowFrom_ >= 0 ? overflowFrom_ : static_cast<int>(slots_.size());
    for (int i = 0; i < shown; ++i)
        if (slots_[static_cast<size_t>(i)].key == key) return slots_[static_cast<size_t>(i)].rect;
    return {};
}

std::vector<std::string> BarStrip::shownKeys() const {
    std::vector<std::string> keys;
    const int shown = overflowFrom_ >= 0 ? overflowFrom_ : static_cast<int>(slots_.size());
    for (int i = 0; i < shown; ++i) keys.push_back(slots_[static_cast<size_t>(i)].key);
    return keys;
}

void BarStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const BarLook& look = barLook(owner_.style_);
    // The rounded looks leave the corners to the parent's colour.
    if (look.radius > 0) p.fillRect(rect(), palette().window());
    paintBarBackground(p, rect(), look);
    const ImageList* images = owner_.images_;
    const int shown = overflowFrom_ >= 0 ? overflowFrom_ : static_cast<int>(slots_.size());
    for (int i = 0; i < shown; ++i) {
        const Slot& s = slots_[static_cast<size_t>(i)];
        if (s.separator) {
            paintSeparator(p, s.rect, look);
            continue;
        }
        const Entry* e = entryOf(i);
        if (!e) continue;
        ButtonState state = ButtonState::Normal;
        if (pressed_ == i || open_ == i || (hover_ == i && e->checked()))
            state = ButtonState::Pressed;
        else if (hover_ == i || (focus_ == i && hasFocus()))
            state = ButtonState::Hover;
        else if (e->checked())
            state = ButtonState::Checked;
        paintButtonFace(p, s.rect, look, state);
        const bool lit = state == ButtonState::Hover || state == ButtonState::Pressed;
        // A pressed button's content moves down a pixel, as a key goes down.
        const QPoint shift = state == ButtonState::Pressed ? QPoint(1, 1) : QPoint();
        int x = s.rect.left() + kPad;
        if (images && e->icon() >= 0 && e->icon() < images->count()) {
            const QIcon icon = barIcon(images->sourceOfIcon(e->icon()));
            const QRect r(QPoint(x, s.rect.top() + (s.rect.height() - kIcon) / 2) + shift, QSize(kIcon, kIcon));
            if (!icon.isNull()) icon.paint(&p, r);
            x += kIcon + kGap;
        }
        if (e->captionOnBar() && !e->caption().empty()) {
            p.setPen(lit ? look.hoverText : look.text);
            const int right = s.rect.right() - kPad - (opensMenu(*e) ? kArrow : 0);
            p.drawText(QRect(x, s.rect.top(), right - x + 1, s.rect.height()).translated(shift),
                       Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, qs(e->caption()));
        }
        if (opensMenu(*e)) {
            const QRect arrow(s.rect.right() - kPad - kArrow + 2, s.rect.top(), kArrow, s.rect.height());
            paintDropArrow(p, arrow.translated(shift), lit ? look.hoverText : look.arrow);
        }
    }
    if (overflowFrom_ >= 0) {
        const QRect r = overflowRect();
        const bool lit = hover_ == kOverflow || (focus_ == kOverflow && hasFocus());
        if (lit) paintButtonFace(p, r, look, ButtonState::Hover);
        p.setPen(lit ? look.hoverText : look.arrow);
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        p.drawText(r, Qt::AlignCenter, QStringLiteral("\u00bb"));
    }
}

void BarStrip::mouseMoveEvent(QMouseEvent* event) {
    const int at = slotAt(event->position().toPoint());
    if (at != hover_) {
        hover_ = at;
        update();
    }
}

void BarStrip::leaveEvent(QEvent*) {
    if (hover_ != -1) {
        hover_ = -1;
        update();
    }
}

void BarStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int at = slotAt(event->position().toPoint());
    if (at == kOverflow) return openOverflow();
    const Entry* e = entryOf(at);
    if (!e) return;
    if (opensMenu(*e)) return openDropDown(at);
    pressed_ = at;
    update();
}

void BarStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || pressed_ < 0) return;
    const int was = pressed_;
    pressed_ = -1;
    update();
    if (slotAt(event->position().toPoint()) != was) return;
    // Delivered last: the handler may close this control's window.
    if (Entry* e = entryOf(was)) owner_.deliver(*e);
}

bool BarStrip::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // While the keyboard is on the bar its keys are the bar's, Escape too
        // (which would otherwise stop the page or end the main window).
        auto* key = static_cast<QKeyEvent*>(event);
        static const int kOwn[] = {Qt::Key_Escape, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End,
                                   Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Down};
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            std::find(std::begin(kOwn), std::end(kOwn), key->key()) != std::end(kOwn)) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Entry* e = entryOf(slotAt(help->pos()));
        if (e && !e->toolTip().empty()) {
            const std::string key = e->key();
            QToolTip::showText(help->globalPos(), toolTipText(*e), this, buttonRect(key));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void BarStrip::fillMenu(QMenu& menu, const std::vector<Entry*>& entries, const BarLook& look, int depth) {
    const ImageList* images = owner_.images_;
    bool tips = false;
    for (const Entry* e : entries) {
        if (e->style() == entrystyle::Separator) {
            // No separator at the top or twice in a row.
            if (!menu.actions().isEmpty() && !menu.actions().constLast()->isSeparator()) menu.addSeparator();
            continue;
        }
        const QIcon icon = images ? barIcon(images->sourceOfIcon(e->icon())) : QIcon();
        QString text = qs(e->caption());
        text.replace('&', "&&");
        // A menu shows the key of its item at the right, after a tab.
        if (!e->shortcut().empty()) text += '\t' + qs(e->shortcut());
        if (opensMenu(*e) && depth < kMaxDepth) {
            auto* sub = new BarMenu(look, &menu);
            sub->setTitle(text);
            sub->setIcon(icon);
            sub->setFont(menu.font());
            fillMenu(*sub, e->bar()->entries(), look, depth + 1);
            menu.addMenu(sub);
            continue;
        }
        QAction* a = menu.addAction(icon, text);
        a->setData(qs(e->key()));
        a->setProperty(kOwnProperty, false);
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

void BarStrip::openDropDown(int slot) {
    CommandBars* model = owner_.model_;
    Entry* e = entryOf(slot);
    if (!model || !e || !e->bar()) return;
    // Drop-downs take the look of the control that hosts them.
    CommandBarControl* host = model->host();
    const BarLook& look = barLook(host ? host->barStyle() : owner_.style_);
    BarMenu menu(look, this);
    menu.setFont(font());
    fillMenu(menu, e->bar()->entries(), look, 0);
    open_ = slot;
    hover_ = -1;
    update();
    const QRect r = slots_[static_cast<size_t>(slot)].rect;
    QPointer<BarStrip> alive(this);
    // Opened from the keyboard, the menu starts on its first item.
    if (hasFocus())
        for (QAction* first : menu.actions())
            if (!first->isSeparator()) {
                menu.setActiveAction(first);
                break;
            }
    QAction* chosen = menu.exec(mapToGlobal(QPoint(r.left(), r.bottom() + 2)));
    const std::string key = chosen ? chosen->data().toString().toStdString() : std::string();
    if (alive) {
        open_ = -1;
        hover_ = slotAt(mapFromGlobal(QCursor::pos()));
        update();
    }
    if (key.empty()) return;
    // Every drop-down click goes to the host, whichever bar opened the menu.
    Entry* picked = model->entry(key);
    if (auto* target = dynamic_cast<QtCommandBar*>(model->host()); target && picked) target->deliver(*picked);
}

void BarStrip::openOverflow() {
    CommandBars* model = owner_.model_;
    if (!model || overflowFrom_ < 0) return;
    CommandBarControl* host = model->host();
    const BarLook& look = barLook(host ? host->barStyle() : owner_.style_);
    BarMenu menu(look, this);
    menu.setFont(font());
    std::vector<Entry*> rest;
    for (size_t i = static_cast<size_t>(overflowFrom_); i < slots_.size(); ++i)
        if (Entry* e = model->entry(slots_[i].key)) rest.push_back(e);
    fillMenu(menu, rest, look, 0);
    // The strip's own buttons keep reporting to the strip's handler.
    for (QAction* a : menu.actions()) a->setProperty(kOwnProperty, true);
    const QRect r = overflowRect();
    QAction* chosen = menu.exec(mapToGlobal(QPoint(r.right() - menu.sizeHint().width(), r.bottom() + 2)));
    if (!chosen) return;
    const bool own = chosen->property(kOwnProperty).toBool();
    Entry* picked = model->entry(chosen->data().toString().toStdString());
    if (!picked) return;
    if (own) return owner_.deliver(*picked);
    if (auto* target = dynamic_cast<QtCommandBar*>(model->host())) target->deliver(*picked);
}

QString BarStrip::toolTipText(const Entry& e) {
    QString tip = qs(e.toolTip());
    if (!e.shortcut().empty() && !tip.isEmpty()) tip += " (" + qs(e.shortcut()) + ")";
    return tip;
}

QString BarStrip::accessibleName(const Entry& e) {
    QString name = qs(e.caption().empty() ? e.toolTip() : e.caption());
    // A mnemonic marker is not part of what is said.
    name.remove(QRegularExpression("&(?!&)"));
    return name;
}

std::string BarStrip::focusedKey() const {
    if (focus_ < 0 || focus_ >= static_cast<int>(slots_.size())) return {};
    return slots_[static_cast<size_t>(focus_)].key;
}

std::vector<std::string> BarStrip::buttonKeys() const {
    std::vector<std::string> keys;
    for (const Slot& s : slots_)
        if (!s.separator) keys.push_back(s.key);
    return keys;
}

Entry* BarStrip::entryFor(const std::string& key) const { return owner_.model_ ? owner_.model_->entry(key) : nullptr; }

void BarStrip::pressLater(const std::string& key) {
    QPointer<BarStrip> self(this);
    QTimer::singleShot(0, this, [self, key] {
        if (!self) return;
        for (size_t i = 0; i < self->slots_.size(); ++i)
            if (self->slots_[i].key == key) return self->press(static_cast<int>(i));
    });
}

void BarStrip::press(int slot) {
    if (slot == kOverflow) return openOverflow();
    Entry* e = entryOf(slot);
    if (!e || e->style() == entrystyle::Separator) return;
    if (opensMenu(*e)) {
        // A button behind the chevron has no place of its own to open below.
        if (overflowFrom_ >= 0 && slot >= overflowFrom_) return openOverflow();
        return openDropDown(slot);
    }
    owner_.deliver(*e);
}

void BarStrip::setFocusSlot(int slot) {
    focus_ = slot;
    update();
    if (slot >= 0 && QAccessible::isActive()) {
        const std::vector<std::string> keys = buttonKeys();
        const auto it = std::find(keys.begin(), keys.end(), focusedKey());
        if (it != keys.end()) {
            QAccessibleEvent ev(this, QAccessible::Focus);
            ev.setChild(static_cast<int>(it - keys.begin()));
            QAccessible::updateAccessibility(&ev);
        }
    }
}

void BarStrip::moveFocus(int step) {
    // The buttons shown, then the chevron when some do not fit.
    std::vector<int> stops;
    const int shown = overflowFrom_ >= 0 ? overflowFrom_ : static_cast<int>(slots_.size());
    for (int i = 0; i < shown; ++i)
        if (!slots_[static_cast<size_t>(i)].separator) stops.push_back(i);
    if (overflowFrom_ >= 0) stops.push_back(kOverflow);
    if (stops.empty()) return;
    const auto at = std::find(stops.begin(), stops.end(), focus_);
    int pos = at == stops.end() ? (step > 0 ? -1 : 0) : static_cast<int>(at - stops.begin());
    const int n = static_cast<int>(stops.size());
    if (step == INT_MIN) {
        pos = 0;
    } else if (step == INT_MAX) {
        pos = n - 1;
    } else {
        const int next = pos + step;
        if ((next < 0 || next >= n) && handOver(step > 0)) return;
        pos = (next % n + n) % n;
    }
    setFocusSlot(stops[static_cast<size_t>(pos)]);
}

namespace {
// The window's bars that take the keyboard, by their control index.
std::vector<BarStrip*> keyboardBars(QWidget* window) {
    std::vector<BarStrip*> bars;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        auto* strip = dynamic_cast<BarStrip*>(w);
        if (strip && strip->isVisible() && !strip->buttonKeys().empty()) bars.push_back(strip);
    }
    std::sort(bars.begin(), bars.end(),
              [](BarStrip* a, BarStrip* b) { return a->owner().index() < b->owner().index(); });
    return bars;
}
}  // namespace

bool BarStrip::handOver(bool forward) {
    const std::vector<BarStrip*> bars = keyboardBars(window());
    const auto at = std::find(bars.begin(), bars.end(), this);
    if (bars.size() < 2 || at == bars.end()) return false;
    const auto n = static_cast<std::ptrdiff_t>(bars.size());
    BarStrip* next = bars[static_cast<size_t>(((at - bars.begin()) + (forward ? 1 : -1) + n) % n)];
    // Escape from the next bar still goes back to where the keyboard was.
    next->returnFocus_ = returnFocus_;
    focus_ = -1;
    next->focus_ = -1;
    next->setFocus(Qt::ShortcutFocusReason);
    next->moveFocus(forward ? INT_MIN : INT_MAX);
    update();
    return true;
}

void BarStrip::focusFirst() {
    QWidget* before = QApplication::focusWidget();
    if (before != this) returnFocus_ = before;
    setFocus(Qt::ShortcutFocusReason);
    focus_ = -1;
    moveFocus(INT_MIN);
}

void BarStrip::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (focus_ < 0) moveFocus(INT_MIN);
    update();
}

void BarStrip::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void BarStrip::keyPressEvent(QKeyEvent* event) {
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    switch (event->key()) {
        case Qt::Key_Left: return moveFocus(rtl ? 1 : -1);
        case Qt::Key_Right: return moveFocus(rtl ? -1 : 1);
        case Qt::Key_Home: return moveFocus(INT_MIN);
        case Qt::Key_End: return moveFocus(INT_MAX);
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space: return press(focus_);
        case Qt::Key_Down: {
            const Entry* e = entryOf(focus_);
            if (focus_ == kOverflow || (e && opensMenu(*e))) press(focus_);
            return;
        }
        case Qt::Key_Escape: {
            // Back to where the keyboard was before the bar, else to the window.
            QPointer<QWidget> back = returnFocus_;
            clearFocus();
            if (back && back->isVisible() && back->window() == window()) back->setFocus(Qt::OtherFocusReason);
            return;
        }
        default: QWidget::keyPressEvent(event);
    }
}

bool focusFirstBar(QWidget* window) {
    const std::vector<BarStrip*> bars = keyboardBars(window);
    if (bars.empty()) return false;
    bars.front()->focusFirst();
    return true;
}

}  // namespace corvano::qt
