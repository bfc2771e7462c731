#include "platform/qt/QtShortcuts.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcut>
#include <QWheelEvent>
#include <QWidget>

#include "platform/Window.h"

namespace corvano::qt {

namespace {

QList<QKeySequence> standard(QKeySequence::StandardKey key) { return QKeySequence::keyBindings(key); }

constexpr Shortcut kAll[] = {
    Shortcut::FocusAddress, Shortcut::Find,      Shortcut::FindNext,    Shortcut::FindPrevious, Shortcut::Reload,
    Shortcut::ReloadBypassingCache, Shortcut::Stop, Shortcut::Back,     Shortcut::Forward,      Shortcut::Print,
    Shortcut::Save,         Shortcut::ViewSource, Shortcut::NewWindow,  Shortcut::CloseWindow,  Shortcut::ZoomIn,
    Shortcut::ZoomOut,      Shortcut::ZoomReset, Shortcut::FullScreen, Shortcut::ToggleBars,
};

// Mouse buttons and Ctrl+wheel anywhere inside a browser window, the page included.
class MouseShortcuts : public QObject {
public:
    MouseShortcuts(QWidget* window, WindowEvents& events) : QObject(window), window_(window), events_(events) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        const QEvent::Type t = ev->type();
        const bool mouse =
            t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonDblClick;
        if (!mouse && t != QEvent::Wheel) return false;
        auto* w = qobject_cast<QWidget*>(obj);
        if (!w || w->window() != window_) return false;
        if (mouse) {
            const Qt::MouseButton b = static_cast<QMouseEvent*>(ev)->button();
            if (b != Qt::BackButton && b != Qt::ForwardButton) return false;
            // The press runs the command; the page sees neither half of the
            // click, or it would go back a second time by itself.
            if (t == QEvent::MouseButtonPress)
                events_.Form_Shortcut(b == Qt::BackButton ? Shortcut::Back : Shortcut::Forward);
            return true;
        }
        auto* wheel = static_cast<QWheelEvent*>(ev);
        if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
        // A notch is 120; touchpads send smaller steps that add up.
        wheelSum_ += wheel->angleDelta().y();
        while (std::abs(wheelSum_) >= 120) {
            const bool in = wheelSum_ > 0;
            wheelSum_ += in ? -120 : 120;
            events_.Form_Shortcut(in ? Shortcut::ZoomIn : Shortcut::ZoomOut);
        }
        return true;
    }

private:
    QWidget* window_;
    WindowEvents& events_;
    int wheelSum_ = 0;
};

}  // namespace

QList<QKeySequence> keySequences(Shortcut which) {
    QList<QKeySequence> keys;
    auto add = [&keys](const QList<QKeySequence>& more) {
        for (const QKeySequence& k : more)
            if (!k.isEmpty() && !keys.contains(k)) keys.append(k);
    };
    auto key = [](QKeyCombination c) { return QList<QKeySequence>{QKeySequence(c)}; };
    using Qt::Key;
    switch (which) {
        case Shortcut::FocusAddress:
            add(key(Qt::CTRL | Qt::Key_L));
            add(key(Qt::ALT | Qt::Key_D));
            add(key(QKeyCombination(Qt::Key_F6)));
            break;
        case Shortcut::Find: add(standard(QKeySequence::Find)); break;
        case Shortcut::FindNext:
            add(key(QKeyCombination(Qt::Key_F3)));
            add(standard(QKeySequence::FindNext));
            break;
        case Shortcut::FindPrevious:
            add(key(Qt::SHIFT | Qt::Key_F3));
            add(standard(QKeySequence::FindPrevious));
            break;
        case Shortcut::Reload:
            add(key(QKeyCombination(Qt::Key_F5)));
            add(standard(QKeySequence::Refresh));
            add(key(Qt::CTRL | Qt::Key_R));
            break;
        case Shortcut::ReloadBypassingCache:
            add(key(Qt::CTRL | Qt::Key_F5));
            add(key(Qt::SHIFT | Qt::Key_F5));
            break;
        case Shortcut::Stop: add(key(QKeyCombination(Qt::Key_Escape))); break;
        case Shortcut::Back: add(standard(QKeySequence::Back)); break;
        case Shortcut::Forward: add(standard(QKeySequence::Forward)); break;
        case Shortcut::Print: add(standard(QKeySequence::Print)); break;
        case Shortcut::Save: add(standard(QKeySequence::Save)); break;
        case Shortcut::ViewSource: add(key(Qt::CTRL | Qt::Key_U)); break;
        case Shortcut::NewWindow: add(standard(QKeySequence::New)); break;
        case Shortcut::CloseWindow:
            add(key(Qt::CTRL | Qt::Key_W));
            add(standard(QKeySequence::Close));
            break;
        case Shortcut::ZoomIn:
            add(standard(QKeySequence::ZoomIn));
            add(key(Qt::CTRL | Qt::Key_Equal));
            add(key(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus));
            break;
        case Shortcut::ZoomOut: add(standard(QKeySequence::ZoomOut)); break;
        case Shortcut::ZoomReset: add(key(Qt::CTRL | Qt::Key_0)); break;
        // The desktop's binding is empty here: F11, as in the desktop browsers.
        case Shortcut::FullScreen:
            add(key(QKeyCombination(Qt::Key_F11)));
            add(standard(QKeySequence::FullScreen));
            break;
        case Shortcut::ToggleBars: add(key(Qt::CTRL | Qt::SHIFT | Qt::Key_B)); break;
    }
    return keys;
}

void bindBrowserShortcuts(QWidget* window, WindowEvents& events) {
    // One sequence, one shortcut: two on the same keys would block each other.
    QList<QKeySequence> taken;
    for (Shortcut which : kAll)
        for (const QKeySequence& k : keySequences(which)) {
            if (taken.contains(k)) continue;
            taken.append(k);
            auto* s = new QShortcut(k, window);
            s->setContext(Qt::WindowShortcut);
            QObject::connect(s, &QShortcut::activated, window, [&events, which] { events.Form_Shortcut(which); });
        }
    new MouseShortcuts(window, events);
}

}  // namespace corvano::qt
