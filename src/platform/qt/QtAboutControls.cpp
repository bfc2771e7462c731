#include "platform/qt/QtAboutControls.h"

#include <QDesktopServices>
#include <QPainter>
#include <QSvgRenderer>
#include <QUrl>

#include "platform/qt/QtContainer.h"
#include "platform/qt/QtIcons.h"

namespace corvano::qt {

QtButton::QtButton(QWidget* parent) : QtControl(new QPushButton(parent)) {
    QObject::connect(w_, &QPushButton::clicked, w_, [this] {
        if (onClick) onClick();
    });
    w_->hide();
}
std::string QtButton::text() const { return w_ ? w_->text().toStdString() : std::string(); }
void QtButton::setText(const std::string& text) {
    if (w_) w_->setText(QString::fromStdString(text));
}

// Paints its SVG stretched over the whole widget.
class QtPictureWidget : public QWidget {
public:
    explicit QtPictureWidget(QWidget* parent) : QWidget(parent) {}
    QSvgRenderer svg;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!svg.isValid()) return;
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p, rect());
    }
};

QtPicture::QtPicture(QWidget* parent) : QtControl(new QtPictureWidget(parent)) { w_->hide(); }

void QtPicture::setSource(const std::string& source) {
    source_ = source;
    if (auto* w = static_cast<QtPictureWidget*>(w_.data())) {
        w->svg.load(resourceSvg(source));
        w->update();
    }
}

void QtShell::open(const std::string& document, const std::string&) {
    // Every verb used opens: the desktop knows no other for a link.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(document)));
}

std::unique_ptr<Button> QtChildFactory::button(QWidget* parent) { return std::make_unique<QtButton>(parent); }
std::unique_ptr<Picture> QtChildFactory::picture(QWidget* parent) { return std::make_unique<QtPicture>(parent); }

}  // namespace corvano::qt
