#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/TextId.h"

class QLabel;
class QPushButton;
class QWebEngineDownloadRequest;

namespace corvano::qt {

// One download of a window, as a row of its download bar. The engine writes
// into the partial file; only a complete download is moved to the final name,
// so a cancelled, failed or abandoned one never leaves a file there.
class QtDownloadItem : public QWidget {
    Q_OBJECT
public:
    enum class State { Running, Done, Failed, Cancelled };

    QtDownloadItem(QWebEngineDownloadRequest* request, const QString& finalPath, const QString& partialPath,
                   QWidget* parent);
    // A download still running when its window goes is cancelled.
    ~QtDownloadItem() override;

    State state() const { return state_; }
    QString text() const;
    QString finalPath() const { return finalPath_; }
    qint64 receivedBytes() const;
    qint64 totalBytes() const;
    void cancel();

signals:
    // Progress or state changed.
    void changed();
    // The user dismissed the row.
    void dismissed();

private:
    void onStateChanged();
    void finish();
    void fail(TextId reasonText);
    void takeTexts();

    QPointer<QWebEngineDownloadRequest> request_;
    QString finalPath_;
    QString partialPath_;
    State state_ = State::Running;
    TextId reasonText_ = TextId::UnknownError;
    QLabel* label_;
    QPushButton* cancel_;
    QPushButton* open_;
    QPushButton* folder_;
    QPushButton* close_;
};

}  // namespace corvano::qt
