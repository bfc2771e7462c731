#include "platform/qt/QtCommandBar.h"

#include "bars/CommandBars.h"
#include "platform/qt/QtCommandBarStrip.h"
#include "platform/qt/QtContainer.h"

namespace corvano::qt {

namespace {
CommandBars* g_model = nullptr;
// Fits 16-pixel icons with a frame around the buttons.
constexpr int kBarHeightPx = 24;
}  // namespace

void setCommandBarModel(CommandBars* model) { g_model = model; }
CommandBars* commandBarModel() { return g_model; }

QtCommandBar::QtCommandBar(QWidget* parent, int index, BarClickHandler onClick)
    : QtControl(new BarStrip(parent, *this)), index_(index), onClick_(std::move(onClick)) {
    w_->resize(w_->width(), kBarHeightPx);
    attach();
    w_->show();
}

QtCommandBar::~QtCommandBar() {
    if (model_) model_->unsubscribe(token_);
}

BarStrip* QtCommandBar::strip() const { return static_cast<BarStrip*>(w_.data()); }

void QtCommandBar::attach() {
    if (model_ || !g_model) return;
    model_ = g_model;
    token_ = model_->subscribe([this] {
        if (BarStrip* s = strip()) s->refresh();
    });
}

void QtCommandBar::setBar(const std::string& key) {
    bar_ = key;
    attach();
    if (BarStrip* s = strip()) s->refresh();
}

void QtCommandBar::setBarStyle(int style) {
    style_ = style;
    if (BarStrip* s = strip()) s->refresh();
}

void QtCommandBar::setImageList(const ImageList* images) {
    images_ = images;
    if (BarStrip* s = strip()) s->refresh();
}

void QtCommandBar::deliver(Entry& entry) {
    // The handler may close the window that owns this control: keep a copy.
    BarClickHandler handler = onClick_;
    if (handler) handler(index_, entry);
}

std::unique_ptr<CommandBarControl> QtChildFactory::commandBar(QWidget* parent, int index, BarClickHandler onClick) {
    return std::make_unique<QtCommandBar>(parent, index, std::move(onClick));
}

}  // namespace corvano::qt
