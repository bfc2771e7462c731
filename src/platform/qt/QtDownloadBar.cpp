#include "platform/qt/QtDownloadBar.h"

#include <QVBoxLayout>

#include "platform/qt/QtDownloadItem.h"

namespace corvano::qt {

QtDownloadBar::QtDownloadBar(QWidget* parent) : QWidget(parent), rows_(new QVBoxLayout(this)) {
    setObjectName(QStringLiteral("downloadBar"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(0);
    hide();
}

QtDownloadItem* QtDownloadBar::add(QWebEngineDownloadRequest* request, const QString& finalPath,
                                   const QString& partialPath) {
    auto* item = new QtDownloadItem(request, finalPath, partialPath, this);
    rows_->addWidget(item);
    connect(item, &QtDownloadItem::changed, this, [this, item] { itemChanged(item); });
    connect(item, &QtDownloadItem::dismissed, this, [this, item] {
        item->hide();
        item->deleteLater();
        if (items().size() <= 1) hide();
        itemChanged(nullptr);
    });
    show();
    itemChanged(item);
    return item;
}

QList<QtDownloadItem*> QtDownloadBar::items() const {
    return findChildren<QtDownloadItem*>(QString(), Qt::FindDirectChildrenOnly);
}

int QtDownloadBar::runningPercent() const {
    qint64 got = 0;
    qint64 total = 0;
    bool running = false;
    for (const QtDownloadItem* item : items()) {
        if (item->state() != QtDownloadItem::State::Running) continue;
        running = true;
        got += item->receivedBytes();
        total += std::max<qint64>(item->totalBytes(), item->receivedBytes());
    }
    if (!running) return -1;
    return total > 0 ? int(got * 100 / total) : 0;
}

void QtDownloadBar::itemChanged(QtDownloadItem* item) {
    if (onChanged) onChanged(item ? item->text() : QString());
}

}  // namespace corvano::qt
