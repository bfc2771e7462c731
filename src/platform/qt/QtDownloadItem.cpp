#include "platform/qt/QtDownloadItem.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QUrl>
#include <QWebEngineDownloadRequest>
#include <filesystem>

#include "platform/qt/QtTexts.h"

namespace corvano::qt {

namespace {

using Request = QWebEngineDownloadRequest;

TextId reasonText(Request::DownloadInterruptReason reason) {
    switch (reason) {
        case Request::FileNoSpace: return TextId::DiskFull;
        case Request::FileAccessDenied:
        case Request::FileBlocked: return TextId::FolderRefused;
        case Request::FileFailed:
        case Request::FileNameTooLong:
        case Request::FileTooLarge:
        case Request::FileTransientError:
        case Request::FileTooShort:
        case Request::FileHashMismatch: return TextId::FileNotWritten;
        case Request::NetworkFailed:
        case Request::NetworkTimeout:
        case Request::NetworkDisconnected:
        case Request::NetworkServerDown:
        case Request::NetworkInvalidRequest: return TextId::NetworkFailed;
        case Request::ServerFailed:
        case Request::ServerBadContent:
        case Request::ServerUnauthorized:
        case Request::ServerCertProblem:
        case Request::ServerForbidden:
        case Request::ServerUnreachable: return TextId::ServerFailed;
        default: return TextId::UnknownError;
    }
}

QString bytesText(qint64 bytes) { return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat); }

QPushButton* button(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setFlat(true);
    return b;
}

}  // namespace

QtDownloadItem::QtDownloadItem(QWebEngineDownloadRequest* request, const QString& finalPath,
                               const QString& partialPath, QWidget* parent)
    : QWidget(parent),
      request_(request),
      finalPath_(finalPath),
      partialPath_(partialPath),
      label_(new QLabel(this)),
      cancel_(button(this, "downloadCancel")),
      open_(button(this, "downloadOpen")),
      folder_(button(this, "downloadFolder")),
      close_(button(this, "downloadClose")) {
    setObjectName(QStringLiteral("downloadItem"));
    label_->setObjectName(QStringLiteral("downloadText"));
    label_->setTextFormat(Qt::PlainText);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(label_, 1);
    for (QPushButton* b : {cancel_, open_, folder_, close_}) row->addWidget(b);

    connect(cancel_, &QPushButton::clicked, this, &QtDownloadItem::cancel);
    connect(open_, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(finalPath_)); });
    connect(folder_, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(finalPath_).absolutePath())); });
    connect(close_, &QPushButton::clicked, this, &QtDownloadItem::dismissed);

    connect(request, &Request::receivedBytesChanged, this, [this] {
        takeTexts();
        emit changed();
    });
    connect(request, &Request::totalBytesChanged, this, &QtDownloadItem::changed);
    connect(request, &Request::stateChanged, this, &QtDownloadItem::onStateChanged);
    connect(QtTexts::instance(), &QtTexts::changed, this, &QtDownloadItem::takeTexts);
    takeTexts();
    // The engine may have finished before this row was made.
    if (request->isFinished()) onStateChanged();
}

QtDownloadItem::~QtDownloadItem() {
    if (state_ != State::Running || !request_) return;
    disconnect(request_, nullptr, this, nullptr);
    request_->cancel();
    QFile::remove(partialPath_);
}

qint64 QtDownloadItem::receivedBytes() const { return request_ ? request_->receivedBytes() : 0; }
qint64 QtDownloadItem::totalBytes() const { return request_ ? request_->totalBytes() : 0; }

void QtDownloadItem::cancel() {
    if (state_ != State::Running) return;
    state_ = State::Cancelled;
    if (request_) {
        disconnect(request_, nullptr, this, nullptr);
        request_->cancel();
    }
    QFile::remove(partialPath_);
    takeTexts();
    emit changed();
}

void QtDownloadItem::onStateChanged() {
    if (state_ != State::Running || !request_) return;
    switch (request_->state()) {
        case Request::DownloadCompleted: finish(); break;
        case Request::DownloadCancelled:
            state_ = State::Cancelled;
            QFile::remove(partialPath_);
            break;
        case Request::DownloadInterrupted:
            if (request_->interruptReason() == Request::UserCanceled) {
                state_ = State::Cancelled;
                QFile::remove(partialPath_);
            } else {
                fail(reasonText(request_->interruptReason()));
            }
            break;
        default: return;
    }
    takeTexts();
    emit changed();
}

void QtDownloadItem::finish() {
    // The rename replaces a file the user chose to overwrite in one step.
    std::error_code ec;
    const std::string partial = QFile::encodeName(partialPath_).toStdString();
    const std::string final = QFile::encodeName(finalPath_).toStdString();
    std::filesystem::rename(partial, final, ec);
    if (ec == std::errc::cross_device_link) {
        // Chosen on another disk than the one it was written to: copied
        // beside the final file first, so a failure leaves no half file there.
        const std::string beside = final + ".part";
        std::filesystem::copy_file(partial, beside, std::filesystem::copy_options::overwrite_existing, ec);
        if (!ec) std::filesystem::rename(beside, final, ec);
        std::error_code ignored;
        std::filesystem::remove(ec ? beside : partial, ignored);
    }
    if (ec) {
        // The bytes stay in the partial file rather than being lost.
        state_ = State::Failed;
        reasonText_ = TextId::FileNotWritten;
        return;
    }
    state_ = State::Done;
}

void QtDownloadItem::fail(TextId reason) {
    state_ = State::Failed;
    reasonText_ = reason;
    QFile::remove(partialPath_);
}

QString QtDownloadItem::text() const { return label_->text(); }

void QtDownloadItem::takeTexts() {
    const QString name = QFileInfo(finalPath_).fileName();
    switch (state_) {
        case State::Running: {
            const qint64 got = receivedBytes();
            const qint64 total = totalBytes();
            const QString amount = total > 0 ? QStringLiteral("%1% (%2 / %3)")
                                                   .arg(int(got * 100 / total))
                                                   .arg(bytesText(got), bytesText(total))
                                             : bytesText(got);
            label_->setText(uiText(TextId::Downloading).arg(name, amount));
            break;
        }
        case State::Done: label_->setText(uiText(TextId::Downloaded).arg(name)); break;
        case State::Failed:
            label_->setText(uiText(TextId::DownloadFailed).arg(name, uiText(reasonText_)));
            break;
        case State::Cancelled: label_->setText(uiText(TextId::DownloadCancelled).arg(name)); break;
    }
    cancel_->setText(uiText(TextId::Cancel));
    open_->setText(uiText(TextId::Open));
    folder_->setText(uiText(TextId::OpenFolder));
    close_->setText(uiText(TextId::Close));
    cancel_->setVisible(state_ == State::Running);
    open_->setVisible(state_ == State::Done);
    folder_->setVisible(state_ == State::Done);
    close_->setVisible(state_ != State::Running);
}

}  // namespace corvano::qt
