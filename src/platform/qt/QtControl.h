#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/qt/Twips.h"

namespace corvano::qt {

// Geometry in twips over a child widget. The wrapper owns the widget, unless
// its parent went first.
template <class Base, class W>
class QtControl : public Base {
public:
    explicit QtControl(W* widget) : w_(widget) {}
    ~QtControl() override { delete w_.data(); }

    int left() const override { return w_ ? toTwips(w_->x()) : 0; }
    int top() const override { return w_ ? toTwips(w_->y()) : 0; }
    int width() const override { return w_ ? toTwips(w_->width()) : 0; }
    int height() const override { return w_ ? toTwips(w_->height()) : 0; }
    void setLeft(int v) override {
        if (w_) w_->move(toPixels(v), w_->y());
    }
    void setTop(int v) override {
        if (w_) w_->move(w_->x(), toPixels(v));
    }
    void setWidth(int v) override {
        if (w_) w_->resize(std::max(0, toPixels(v)), w_->height());
    }
    void setHeight(int v) override {
        if (w_) w_->resize(w_->width(), std::max(0, toPixels(v)));
    }
    // Visibility as the logic set it, whether or not the window is shown yet.
    bool visible() const override { return w_ && !w_->isHidden(); }
    void setVisible(bool on) override {
        if (w_) w_->setVisible(on);
    }
    void setFocus() override {
        if (w_) w_->setFocus(Qt::OtherFocusReason);
    }

    W* widget() const { return w_.data(); }

protected:
    QPointer<W> w_;
};

}  // namespace corvano::qt
