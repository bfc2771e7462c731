#pragma once

#include <QList>
#include <QWidget>
#include <functional>

class QVBoxLayout;
class QWebEngineDownloadRequest;

namespace corvano::qt {

class QtDownloadItem;

// The downloads of one window along the bottom of its page, one row each,
// until the user dismisses them. Going away cancels what still runs.
class QtDownloadBar : public QWidget {
    Q_OBJECT
public:
    explicit QtDownloadBar(QWidget* parent);

    // Takes over an accepted download written to the partial path.
    QtDownloadItem* add(QWebEngineDownloadRequest* request, const QString& finalPath, const QString& partialPath);
    QList<QtDownloadItem*> items() const;
    // Progress over the running downloads, 0..100; -1 when none runs.
    int runningPercent() const;

    // What the window's caption and progress line show: called on every change
    // with the text of the row that changed.
    std::function<void(const QString& text)> onChanged;

private:
    void itemChanged(QtDownloadItem* item);

    QVBoxLayout* rows_;
};

}  // namespace corvano::qt
