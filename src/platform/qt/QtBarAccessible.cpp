#include "platform/qt/QtBarAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <map>

#include "bars/CommandBars.h"
#include "platform/qt/QtCommandBarStrip.h"

namespace corvano::qt {

namespace {

bool opensMenu(const Entry& e) { return e.dropDown() && e.bar(); }

// One painted button: not a widget of its own, so it answers for its strip.
class BarButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    BarButtonAccessible(BarStrip* strip, std::string key) : strip_(strip), key_(std::move(key)) {}

    bool isValid() const override {
        if (!strip_) return false;
        const std::vector<std::string> keys = strip_->buttonKeys();
        return std::find(keys.begin(), keys.end(), key_) != keys.end();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return strip_ ? strip_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return strip_ ? QAccessible::queryAccessibleInterface(strip_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        const Entry* e = entry();
        if (!e) return {};
        switch (t) {
            case QAccessible::Name: return BarStrip::accessibleName(*e);
            case QAccessible::Description: return QString::fromStdString(e->toolTip());
            case QAccessible::Accelerator: return QString::fromStdString(e->shortcut());
            default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!strip_) return {};
        const QRect r = strip_->buttonRect(key_);
        return r.isEmpty() ? QRect() : QRect(strip_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override {
        const Entry* e = entry();
        return e && opensMenu(*e) ? QAccessible::ButtonMenu : QAccessible::PushButton;
    }
    QAccessible::State state() const override {
        QAccessible::State st;
        const Entry* e = entry();
        if (!e || !strip_) {
            st.invalid = true;
            return st;
        }
        st.focusable = true;
        st.focused = strip_->hasFocus() && strip_->focusedKey() == key_;
        // Behind the chevron: still pressable, not on screen.
        if (!strip_->isShown(key_) || !strip_->isVisible()) st.invisible = st.offscreen = true;
        if (e->style() == entrystyle::Option) st.checkable = true;
        st.checked = e->checked();
        st.hasPopup = opensMenu(*e);
        return st;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override {
        const Entry* e = entry();
        if (!e) return {};
        QStringList names{pressAction()};
        if (opensMenu(*e)) names << showMenuAction();
        return names;
    }
    void doAction(const QString& name) override {
        if (strip_ && (name == pressAction() || (name == showMenuAction() && actionNames().contains(name))))
            strip_->pressLater(key_);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        const Entry* e = entry();
        if (!e || name != pressAction() || e->shortcut().empty()) return {};
        return {QString::fromStdString(e->shortcut())};
    }

private:
    const Entry* entry() const { return isValid() ? strip_->entryFor(key_) : nullptr; }

    QPointer<BarStrip> strip_;
    std::string key_;
};

// The strip as a tool bar whose children are its buttons.
class BarStripAccessible : public QAccessibleWidget {
public:
    explicit BarStripAccessible(BarStrip* strip) : QAccessibleWidget(strip, QAccessible::ToolBar) {}
    ~BarStripAccessible() override {
        for (const auto& [key, id] : children_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return strip() ? static_cast<int>(strip()->buttonKeys().size()) : 0; }
    QAccessibleInterface* child(int index) const override {
        if (!strip()) return nullptr;
        const std::vector<std::string> keys = strip()->buttonKeys();
        if (index < 0 || index >= static_cast<int>(keys.size())) return nullptr;
        return childFor(keys[static_cast<size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!strip()) return -1;
        const std::vector<std::string> keys = strip()->buttonKeys();
        for (size_t i = 0; i < keys.size(); ++i) {
            const auto it = children_.find(keys[i]);
            if (it != children_.end() && QAccessible::accessibleInterface(it->second) == child)
                return static_cast<int>(i);
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (!strip()) return nullptr;
        const QPoint local = strip()->mapFromGlobal(QPoint(x, y));
        for (const std::string& key : strip()->buttonKeys())
            if (strip()->buttonRect(key).contains(local)) return childFor(key);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        if (!strip() || !strip()->hasFocus() || strip()->focusedKey().empty()) return nullptr;
        return childFor(strip()->focusedKey());
    }

private:
    BarStrip* strip() const { return static_cast<BarStrip*>(widget()); }
    // One interface per button for as long as the strip lives, as the tools expect.
    QAccessibleInterface* childFor(const std::string& key) const {
        const auto it = children_.find(key);
        if (it != children_.end())
            if (QAccessibleInterface* known = QAccessible::accessibleInterface(it->second)) return known;
        auto* iface = new BarButtonAccessible(strip(), key);
        children_[key] = QAccessible::registerAccessibleInterface(iface);
        return iface;
    }

    mutable std::map<std::string, QAccessible::Id> children_;
};

QAccessibleInterface* barFactory(const QString& className, QObject* object) {
    // The strip has no meta-object of its own: it is asked for as a QWidget.
    if (className != QLatin1String("QWidget")) return nullptr;
    if (auto* strip = dynamic_cast<BarStrip*>(object)) return new BarStripAccessible(strip);
    return nullptr;
}

}  // namespace

void installBarAccessibility() {
    static const bool installed = (QAccessible::installFactory(barFactory), true);
    (void)installed;
}

}  // namespace corvano::qt
