#include "platform/qt/QtWindowCover.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <algorithm>

#include "platform/Covering.h"

namespace corvano::qt::windowcover {

namespace {

const char* const kCovered = "corvanoCovered";

struct Stack {
    QList<QPointer<QWidget>> order;  // bottom first, within each group
    QTimer* timer = nullptr;
};

Stack& stack() {
    static Stack s;
    return s;
}

int group(const QWidget* w) {
    const Qt::WindowFlags f = w->windowFlags();
    if (f & Qt::WindowStaysOnBottomHint) return 0;
    return (f & Qt::WindowStaysOnTopHint) ? 2 : 1;
}

void tellPages(QWidget* window, bool covered) {
    for (QWebEngineView* v : window->findChildren<QWebEngineView*>()) {
        QWebEnginePage* page = v->page();
        if (!page) continue;
        // Uncovered, the page is as visible as its view (a minimized window's
        // view was hidden by Qt and stays so).
        const bool visible = !covered && v->isVisible() && !window->isMinimized();
        if (page->isVisible() != visible) page->setVisible(visible);
    }
}

void workOut() {
    Stack& s = stack();
    s.order.removeAll(QPointer<QWidget>());
    QList<QWidget*> windows;
    for (const QPointer<QWidget>& w : s.order) windows.append(w.data());
    std::stable_sort(windows.begin(), windows.end(), [](QWidget* a, QWidget* b) { return group(a) < group(b); });
    std::vector<StackedWindow> frames;
    for (QWidget* w : windows) {
        const QRect g = w->frameGeometry();
        // A translucent window hides nothing.
        const bool onScreen = w->isVisible() && !w->isMinimized() && w->windowOpacity() >= 1.0;
        frames.push_back({{g.x(), g.y(), g.width(), g.height()}, onScreen});
    }
    const std::vector<bool> covered = coveredWindows(frames);
    for (int i = 0; i < windows.size(); ++i) {
        QWidget* w = windows[i];
        const bool now = covered[static_cast<size_t>(i)];
        // Only a change of ours touches the pages: otherwise their views keep
        // them as Qt's showing and hiding leave them; a covered window's
        // pages are kept hidden whatever its views did meanwhile.
        if (now || w->property(kCovered).toBool()) tellPages(w, now);
        w->setProperty(kCovered, now);
    }
}

}  // namespace

void add(QWidget* window) {
    stack().order.append(window);
    changed();
}

void raised(QWidget* window) {
    Stack& s = stack();
    s.order.removeAll(QPointer<QWidget>(window));
    s.order.append(window);
    changed();
}

void changed() {
    Stack& s = stack();
    if (!s.timer) {
        s.timer = new QTimer();
        s.timer->setSingleShot(true);
        s.timer->setInterval(0);
        QObject::connect(s.timer, &QTimer::timeout, s.timer, [] { workOut(); });
    }
    s.timer->start();
}

bool covered(const QWidget* window) { return window && window->property(kCovered).toBool(); }

}  // namespace corvano::qt::windowcover
