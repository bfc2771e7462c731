#include "platform/qt/QtWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include "platform/qt/QtPlatform.h"

#include <algorithm>
#include <functional>
#include <utility>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtContainer.h"
#include "platform/qt/QtShortcuts.h"
#include "platform/qt/QtWindowCover.h"
#include "platform/qt/Twips.h"

namespace corvano::qt {

namespace {

// Key codes as the logic knows them.
int keyCode(int qtKey) {
    if (qtKey == Qt::Key_Escape) return keys::Escape;
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) return keys::Enter;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    return 0;
}

// How long a window manager may take to answer a placement.
constexpr long long kPlacingMs = 3000;

}  // namespace

class QtWindowWidget : public QWidget {
public:
    QtWindowWidget(QtWindow& owner, WindowRole role, WindowEvents& events)
        : owner_(owner), events_(events) {
        setAttribute(Qt::WA_DeleteOnClose, false);
        if (role == WindowRole::Main) {
            // The main window is the backdrop: every other window floats above
            // it. A desktop-type window stays below them even when it has the
            // focus, where an active full-screen window would cover them.
            setWindowFlag(Qt::FramelessWindowHint, true);
            winId();
            if (QWindow* handle = windowHandle()) {
                // The X11 platform reads the window type from this property
                // when the flags change (2 = desktop).
                handle->setProperty("_q_xcb_wm_window_type", 2);
                handle->setFlags(handle->flags() | Qt::WindowStaysOnBottomHint);
            }
            // Escape reaches the main window whichever child has the focus.
            auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
            esc->setContext(Qt::WindowShortcut);
            QObject::connect(esc, &QShortcut::activated, this, [this] { events_.Form_KeyDown(keys::Escape, 0); });
            for (const QKeySequence& k : keySequences(Shortcut::NewWindow)) {
                auto* s = new QShortcut(k, this);
                s->setContext(Qt::WindowShortcut);
                QObject::connect(s, &QShortcut::activated, this, [this] { events_.Form_Shortcut(Shortcut::NewWindow); });
            }
        }
        if (role == WindowRole::Browser) {
            // F12 works while the page or the address box has the focus.
            auto* f12 = new QShortcut(QKeySequence(Qt::Key_F12), this);
            f12->setContext(Qt::WindowShortcut);
            QObject::connect(f12, &QShortcut::activated, this, [this] { events_.Form_KeyDown(keys::F12, 0); });
            bindBrowserShortcuts(this, events_);
        }
        // F10 takes the keyboard to the window's first bar, as to a menu bar.
        auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
        f10->setContext(Qt::WindowShortcut);
        QObject::connect(f10, &QShortcut::activated, this, [this] { focusFirstBar(this); });
        setFocusPolicy(Qt::StrongFocus);
    }

    QPixmap picture;
    QColor colour;
    QSize frameExtra{0, 0};
    // How far the frame the window manager reports lies up and left of where
    // it put the frame asked for: weston 14 counts its shadow in the frame it
    // reports but places the frame without it. Added back when the place is
    // read, so a place read and set again stays where it was.
    QPoint placeSlip{0, 0};
    // Until then the window manager's answer to our last placement may still
    // come, and meanwhile the window stands where it was asked: weston first
    // maps a window at 0,0 with its first size and only then places it.
    long long placingUntilMs = 0;
    bool placeOnShow = false;
    bool placing() const { return steadyClockMs() <= placingUntilMs; }
    // The outer place the window manager reports.
    QPoint reportedPlace(const QMargins& m) const { return mapToGlobal(QPoint(0, 0)) - QPoint(m.left(), m.top()); }
    // What follows a modal showing: runs once the window is hidden or gone.
    std::function<void()> modalClosed;
    bool modal = false;
    void endModal() {
        modal = false;
        setWindowModality(Qt::NonModal);
        // From the event loop, after the handler that hid the window.
        if (auto closed = std::exchange(modalClosed, {})) QTimer::singleShot(0, qApp, std::move(closed));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!picture.isNull())
            p.drawPixmap(rect(), picture);
        else if (colour.isValid())
            p.fillRect(rect(), colour);
    }
    void closeEvent(QCloseEvent* e) override {
        // The form decides; it destroys the window when it is done.
        e->ignore();
        events_.Form_QueryUnload();
    }
    void keyPressEvent(QKeyEvent* e) override {
        const int code = keyCode(e->key());
        if (code) events_.Form_KeyDown(code, static_cast<int>(e->modifiers() >> 25));
        QWidget::keyPressEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) events_.Form_Click();
        QWidget::mousePressEvent(e);
    }
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        events_.Form_Resize();
        windowcover::changed();
    }
    void moveEvent(QMoveEvent* e) override {
        QWidget::moveEvent(e);
        checkFrame();
        windowcover::changed();
    }
    void hideEvent(QHideEvent* e) override {
        QWidget::hideEvent(e);
        // Our own hiding, not the window manager's minimising.
        if (modal && !e->spontaneous()) endModal();
        windowcover::changed();
    }
    void showEvent(QShowEvent* e) override {
        QWidget::showEvent(e);
        if (std::exchange(placeOnShow, false)) placingUntilMs = steadyClockMs() + kPlacingMs;
        // The window manager frames the window some time after it is mapped.
        for (int ms : {0, 50, 200, 500, 1500}) QTimer::singleShot(ms, this, [this] { checkFrame(); });
        windowcover::changed();
    }
    void changeEvent(QEvent* e) override {
        QWidget::changeEvent(e);
        if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
            // Window managers raise the window they activate; without one,
            // raising it here keeps the stacking what the user expects and
            // what the covered windows are worked out from.
            if (!(windowFlags() & Qt::WindowStaysOnBottomHint)) {
                raise();
                windowcover::raised(this);
            }
            events_.Form_Activate();
        }
        if (e->type() == QEvent::WindowStateChange) {
            events_.Form_Resize();
            windowcover::changed();
        }
    }

private:
    // Once the window manager has framed the window, the outer size asked for
    // is applied again with the real frame, so a restored window does not drift.
    void checkFrame() {
        const QMargins m = frameMargins();
        const QSize extra(m.left() + m.right(), m.top() + m.bottom());
        if (extra != frameExtra) {
            frameExtra = extra;
            owner_.applyRequestedGeometry();
            return;
        }
        if (!owner_.haveRequest_ || !placing()) return;
        // The last slip within the reported frame while the answer may come
        // is the window manager's way of counting; one beyond it is another
        // place it chose (on screen, say) or a step on the way.
        const QPoint slip = owner_.requestedPlace() - reportedPlace(m);
        if (!m.isNull() && slip.x() >= 0 && slip.x() <= m.left() && slip.y() >= 0 && slip.y() <= m.top())
            placeSlip = slip;
    }

public:
    // Asked of the window system each time, not cached: Qt's cached position
    // of a framed window can lag behind the window manager's.
    QMargins frameMargins() const {
        const QWindow* handle = windowHandle();
        return handle && isVisible() ? handle->frameMargins() : QMargins();
    }

    QtWindow& owner_;
    WindowEvents& events_;
};

QtWindow::QtWindow(WindowRole role, WindowEvents& events) : role_(role) {
    w_ = new QtWindowWidget(*this, role, events);
    if (role == WindowRole::Browser) w_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (role == WindowRole::About) w_->setWindowFlag(Qt::Dialog, true);
    windowcover::add(w_);
}

QtWindow::~QtWindow() {
    if (w_ && w_->modal) w_->endModal();
    delete w_.data();
    windowcover::changed();
}

QWidget* QtWindow::widget() const { return w_.data(); }

std::unique_ptr<Panel> QtWindow::createPanel() { return QtChildFactory::panel(w_); }
std::unique_ptr<CommandBarControl> QtWindow::createCommandBar(int index, BarClickHandler onClick) {
    return QtChildFactory::commandBar(w_, index, std::move(onClick));
}
std::unique_ptr<ComboBox> QtWindow::createComboBox() { return QtChildFactory::comboBox(w_); }
std::unique_ptr<Label> QtWindow::createLabel() { return QtChildFactory::label(w_); }
std::unique_ptr<WebView> QtWindow::createWebView(const WebProfile& profile) {
    return QtChildFactory::webView(w_, profile);
}
std::unique_ptr<TextEditBox> QtWindow::createTextEditBox() { return QtChildFactory::textEditBox(w_); }
std::unique_ptr<Button> QtWindow::createButton() { return QtChildFactory::button(w_); }
std::unique_ptr<Picture> QtWindow::createPicture() { return QtChildFactory::picture(w_); }

void QtWindow::show() {
    // The main window is a frameless window the size of the screen, not a
    // full-screen one: window managers raise an active full-screen window
    // above the topmost browser windows.
    if (!w_) return;
    w_->show();
    // Without a window manager the stacking is ours to keep.
    if (role_ == WindowRole::Main) {
        w_->lower();
    } else {
        w_->raise();
        windowcover::raised(w_);
    }
}

void QtWindow::hide() {
    if (w_) w_->hide();
}

bool QtWindow::visible() const { return w_ && w_->isVisible(); }

std::string QtWindow::caption() const { return w_ ? w_->windowTitle().toStdString() : std::string(); }

void QtWindow::setCaption(const std::string& text) {
    if (w_) w_->setWindowTitle(QString::fromStdString(text));
}

Rect QtWindow::geometry() const {
    if (!w_) return {};
    if (!w_->isVisible()) {
        const QRect g = w_->geometry();
        return {toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
    }
    if (haveRequest_ && w_->placing()) return requested_;
    const QMargins m = w_->frameMargins();
    const QPoint place = w_->reportedPlace(m) + (m.isNull() ? QPoint() : w_->placeSlip);
    return {toTwips(place.x()), toTwips(place.y()),
            toTwips(w_->width() + m.left() + m.right()), toTwips(w_->height() + m.top() + m.bottom())};
}

void QtWindow::setGeometry(const Rect& r) {
    requested_ = r;
    haveRequest_ = true;
    applyRequestedGeometry();
}

QPoint QtWindow::requestedPlace() const { return {toPixels(requested_.left), toPixels(requested_.top)}; }

void QtWindow::applyRequestedGeometry() {
    if (!w_ || !haveRequest_) return;
    const QSize extra = w_->frameExtra;
    if (w_->isVisible())
        w_->placingUntilMs = steadyClockMs() + kPlacingMs;
    else
        w_->placeOnShow = true;
    w_->move(toPixels(requested_.left), toPixels(requested_.top));
    w_->resize(std::max(1, toPixels(requested_.width) - extra.width()),
               std::max(1, toPixels(requested_.height) - extra.height()));
}

int QtWindow::scaleWidth() const { return w_ ? toTwips(w_->width()) : 0; }
int QtWindow::scaleHeight() const { return w_ ? toTwips(w_->height()) : 0; }

WindowState QtWindow::state() const {
    if (!w_) return WindowState::Normal;
    if (w_->isMinimized()) return WindowState::Minimized;
    if (w_->isMaximized()) return WindowState::Maximized;
    return WindowState::Normal;
}

void QtWindow::setFrameless(bool frameless) {
    if (!w_ || w_->windowFlags().testFlag(Qt::FramelessWindowHint) == frameless) return;
    const bool wasVisible = w_->isVisible();
    // Changing the flags takes the window down; it comes back framed anew.
    w_->setWindowFlag(Qt::FramelessWindowHint, frameless);
    w_->frameExtra = QSize(0, 0);
    applyRequestedGeometry();
    if (wasVisible) {
        w_->show();
        w_->raise();
        w_->activateWindow();
    }
}

void QtWindow::setTopmost() {
    if (!w_ || (w_->windowFlags() & Qt::WindowStaysOnTopHint)) return;
    const bool wasVisible = w_->isVisible();
    w_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (wasVisible) w_->show();
    windowcover::raised(w_);
}

void QtWindow::bringToTop() {
    if (!w_) return;
    setTopmost();
    // A hidden window stays hidden.
    if (!w_->isVisible()) return;
    w_->raise();
    windowcover::raised(w_);
    w_->activateWindow();
}

bool QtWindow::setBackgroundPicture(const std::string& path) {
    if (!w_) return false;
    QPixmap pm;
    if (!pm.load(QString::fromStdString(path))) return false;
    w_->picture = pm;
    w_->update();
    return true;
}

void QtWindow::setBackgroundColor(int red, int green, int blue) {
    if (!w_) return;
    w_->picture = QPixmap();
    w_->colour = QColor(red, green, blue);
    w_->update();
}

void QtWindow::showModal(std::function<void()> closed) {
    if (!w_) return;
    w_->modalClosed = std::move(closed);
    w_->modal = true;
    w_->setWindowModality(Qt::ApplicationModal);
    show();
    w_->activateWindow();
}

std::unique_ptr<MarkupBox> QtWindow::createMarkupBox() { return QtChildFactory::markupBox(w_); }

bool QtWindow::setOpacity(int alpha) {
    if (!w_) return false;
    w_->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
    windowcover::changed();
    // Some window systems (no compositor, offscreen) cannot show it; that is no fault.
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

namespace {

constexpr const char* kLastInput = "corvanoLastInput";

class InputWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        switch (e->type()) {
            case QEvent::KeyPress:
            case QEvent::MouseButtonPress:
            case QEvent::Wheel:
            case QEvent::TouchBegin:
                if (watched->isWidgetType())
                    if (QWidget* top = static_cast<QWidget*>(watched)->window())
                        top->setProperty(kLastInput, steadyClockMs());
                break;
            default: break;
        }
        return false;
    }
};

}  // namespace

void watchInput() {
    static InputWatch* watch = nullptr;
    if (watch || !qApp) return;
    watch = new InputWatch;
    watch->setParent(qApp);
    qApp->installEventFilter(watch);
}

bool QtWindow::hasKeyboardFocus() const { return w_ && w_->isActiveWindow(); }

long long QtWindow::lastInputMs() const {
    if (!w_) return -1;
    const QVariant v = w_->property(kLastInput);
    return v.isValid() ? v.toLongLong() : -1;
}

bool QtWindow::covered() const { return windowcover::covered(w_.data()); }

void QtWindow::grabPng(std::function<void(std::string png)> done) {
    std::string png;
    if (w_ && w_->isVisible()) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        if (buffer.open(QIODevice::WriteOnly) && w_->grab().save(&buffer, "PNG")) png = bytes.toStdString();
    }
    if (done) done(std::move(png));
}

bool QtWindow::dialogOpen() const {
    if (!w_) return false;
    // A dialog the page or the window opened: its parent lies in this window.
    const QWidget* self = w_.data();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == self || !top->isVisible() || !top->parentWidget()) continue;
        if (!qobject_cast<QDialog*>(top) && top->windowModality() == Qt::NonModal) continue;
        if (top->parentWidget()->window() == self) return true;
    }
    return false;
}

}  // namespace corvano::qt
