#include "platform/qt/QtCommandBar.h"

#include "platform/qt/QtContainer.h"

namespace corvano::qt {

QtCommandBar::QtCommandBar(QWidget* parent, int index, BarClickHandler onClick)
    : QtControl(new QWidget(parent)), index_(index), onClick_(std::move(onClick)) {
    w_->show();
}

std::unique_ptr<CommandBarControl> QtChildFactory::commandBar(QWidget* parent, int index, BarClickHandler onClick) {
    return std::make_unique<QtCommandBar>(parent, index, std::move(onClick));
}

}  // namespace corvano::qt
