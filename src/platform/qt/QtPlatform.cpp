#include "platform/qt/QtPlatform.h"

#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QInputDialog>
#include <QMessageBox>
#include <QElapsedTimer>
#include <QMimeData>
#include <QNetworkInformation>
#include <QTime>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "platform/qt/QtAboutControls.h"
#include "platform/qt/QtAskDialog.h"
#include "platform/qt/QtContainer.h"
#include "platform/qt/QtIcons.h"
#include "platform/qt/QtDesktopSession.h"
#include "platform/qt/QtEngineVersions.h"
#include "platform/qt/QtScreenCapture.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtShortcuts.h"
#include "platform/qt/QtRichClipboard.h"
#include "platform/qt/QtSaveDialog.h"
#include "platform/qt/QtTexts.h"
#include "platform/qt/QtTranslations.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/Twips.h"

namespace corvano::qt {

namespace {

class QtTimer : public Timer {
public:
    QtTimer() {
        QObject::connect(&t_, &QTimer::timeout, &t_, [this] {
            if (onTick) onTick();
        });
    }
    int interval() const override { return t_.interval(); }
    void setInterval(int ms) override { t_.setInterval(ms); }
    bool enabled() const override { return t_.isActive(); }
    void setEnabled(bool on) override {
        if (on && !t_.isActive())
            t_.start();
        else if (!on)
            t_.stop();
    }

private:
    QTimer t_;
};

class QtClipboard : public Clipboard {
public:
    void clear() override { QGuiApplication::clipboard()->clear(); }
    std::string text() const override { return QGuiApplication::clipboard()->text().toStdString(); }
    void setText(const std::string& text) override { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); }

    // Page export.
    bool hasImage() const override {
        const QMimeData* m = QGuiApplication::clipboard()->mimeData();
        return m && m->hasImage();
    }
    RichDocument richContent() const override { return richDocumentFromMime(QGuiApplication::clipboard()->mimeData()); }
};

// Every dialog opens application-modal and returns at once; the answer goes
// to the continuation. Through the dialog hook, so a test can answer them.
class QtDialogs : public Dialogs {
public:
    void message(const std::string& text, const std::string& title, Done done) override {
        show(QMessageBox::Information, text, title, std::move(done));
    }
    void warning(const std::string& text, const std::string& title, Done done) override {
        show(QMessageBox::Warning, text, title, std::move(done));
    }

private:
    static void show(QMessageBox::Icon icon, const std::string& text, const std::string& title, Done done) {
        auto* box = new QMessageBox(icon, QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok);
        box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        pagedialogs::openDialog(box, [done](int) {
            if (done) done();
        });
    }

    // Page export.
    void saveFileName(const std::string& title, const std::string& filter, const std::string& proposedName,
                      Text answer) override {
        askSaveFileName(title, filter, proposedName, std::move(answer));
    }
    void input(const std::string& prompt, const std::string& title, Text answer) override {
        auto* dialog = new QInputDialog;
        dialog->setWindowTitle(QString::fromStdString(title));
        dialog->setLabelText(QString::fromStdString(prompt));
        dialog->setInputMode(QInputDialog::TextInput);
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        pagedialogs::openDialog(dialog, [dialog, answer](int result) {
            if (!answer) return;
            if (result != QDialog::Accepted) return answer(std::nullopt);
            answer(dialog->textValue().toStdString());
        });
    }
    void confirm(const std::string& text, const std::string& title, Yes answer) override {
        auto* box = new QMessageBox(QMessageBox::Question, QString::fromStdString(title), QString::fromStdString(text),
                                    QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::No);
        box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        pagedialogs::openDialog(box, [answer](int result) {
            if (answer) answer(result == QMessageBox::Yes);
        });
    }
    void choose(const std::string& text, const std::string& title, const std::vector<std::string>& items,
                std::function<void(std::optional<size_t>)> answer) override {
        auto* dialog = new QInputDialog;
        dialog->setObjectName(QStringLiteral("chooseDialog"));
        dialog->setWindowTitle(QString::fromStdString(title));
        dialog->setLabelText(QString::fromStdString(text));
        QStringList list;
        for (const std::string& item : items) list << QString::fromStdString(item);
        dialog->setComboBoxItems(list);
        dialog->setComboBoxEditable(false);
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        pagedialogs::openDialog(dialog, [dialog, list, answer](int result) {
            if (!answer) return;
            const qsizetype at = list.indexOf(dialog->textValue());
            if (result != QDialog::Accepted || at < 0) return answer(std::nullopt);
            answer(static_cast<size_t>(at));
        });
    }
    void ask(const std::string& text, const std::string& title, const std::string& yes, const std::string& no,
             Yes answer) override {
        auto* dialog = new QtAskDialog(QString::fromStdString(text), QString::fromStdString(title),
                                       QString::fromStdString(yes), QString::fromStdString(no), nullptr);
        pagedialogs::openDialog(dialog, [answer](int result) {
            if (answer) answer(result == QDialog::Accepted);
        });
    }
};

}  // namespace

struct QtPlatform::Impl {
    QtClipboard clipboard;
    QtDialogs dialogs;
    QtScreenCapture capture;
    QtShell shell;
    // Ends the platform's connections when it goes.
    QObject context;
};

QtPlatform::QtPlatform() : d_(std::make_unique<Impl>()) {
    followLanguageInQtDialogs();
    // Every window of ours, message boxes too, shows the product icon.
    QApplication::setWindowIcon(productIcon());
    watchInput();
    // NetworkManager's backend where it runs, else glib's, which judges from
    // the routes. Without either, pages still try again on their own.
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        QNetworkInformation* info = QNetworkInformation::instance();
        auto last = std::make_shared<QNetworkInformation::Reachability>(info->reachability());
        QObject::connect(info, &QNetworkInformation::reachabilityChanged, qApp,
                         [this, last](QNetworkInformation::Reachability now) {
                             const bool back = now == QNetworkInformation::Reachability::Online &&
                                               *last != QNetworkInformation::Reachability::Online;
                             *last = now;
                             if (back && onNetworkBack) onNetworkBack();
                         });
    }
    // From the event loop, once Qt has the new monitor's place.
    QObject::connect(qApp, &QGuiApplication::screenAdded, &d_->context, [this](QScreen*) {
        QTimer::singleShot(0, &d_->context, [this] {
            if (onScreenAdded) onScreenAdded();
        });
    });
}
QtPlatform::~QtPlatform() = default;

std::unique_ptr<Window> QtPlatform::createWindow(WindowRole role, WindowEvents& events) {
    return std::make_unique<QtWindow>(role, events);
}

std::unique_ptr<Timer> QtPlatform::createTimer() { return std::make_unique<QtTimer>(); }

Size QtPlatform::screenSize() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    const QSize px = s ? s->geometry().size() : QSize(1024, 768);
    return {toTwips(px.width()), toTwips(px.height())};
}

Clipboard& QtPlatform::clipboard() { return d_->clipboard; }
Dialogs& QtPlatform::dialogs() { return d_->dialogs; }

void QtPlatform::post(std::function<void()> task) { QTimer::singleShot(0, qApp, std::move(task)); }

void QtPlatform::quit() { QTimer::singleShot(0, qApp, [] { QApplication::quit(); }); }

void QtPlatform::setTexts(std::function<std::string(int)> lookup) { QtTexts::instance()->setLookup(std::move(lookup)); }
void QtPlatform::textsChanged() { QtTexts::instance()->notifyChanged(); }
ScreenCapture& QtPlatform::screenCapture() { return d_->capture; }
bool QtPlatform::windowPlacesKnown() const { return qt::windowPlacesKnown(); }
EngineVersions QtPlatform::engineVersions() const { return qt::engineVersions(); }
Shell& QtPlatform::shell() { return d_->shell; }

std::string QtPlatform::shortcutText(Shortcut which) const {
    return keySequences(which).value(0).toString(QKeySequence::NativeText).toStdString();
}

std::vector<Rect> QtPlatform::screens() const {
    std::vector<Rect> all;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        const Rect r{toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
        all.insert(s == primary ? all.begin() : all.end(), r);
    }
    return all;
}

std::vector<Monitor> QtPlatform::monitors() const {
    std::vector<Monitor> all;
    const QScreen* primary = QGuiApplication::primaryScreen();
    auto twips = [](const QRect& g) { return Rect{toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())}; };
    for (const QScreen* s : QGuiApplication::screens()) {
        const Monitor m{s->name().toStdString(), twips(s->geometry()), twips(s->availableGeometry())};
        all.insert(s == primary ? all.begin() : all.end(), m);
    }
    return all;
}

double QtPlatform::twipsPerPixel() const { return qt::twipsPerPixel(); }

void QtPlatform::setBusyCursor(bool busy) {
    // Balanced, so a second export or an early way out never leaves the hourglass.
    if (busy && !busyCursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!busy && busyCursor_) QApplication::restoreOverrideCursor();
    busyCursor_ = busy;
}

long long steadyClockMs() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.elapsed();
}

long long QtPlatform::clockMs() const { return steadyClockMs(); }

long long QtPlatform::epochMsAt(long long atClockMs) const {
    return QDateTime::currentMSecsSinceEpoch() - (clockMs() - atClockMs);
}

void QtPlatform::postJson(const std::string& url, const std::string& body) {
    static QNetworkAccessManager* network = nullptr;
    if (!network) network = new QNetworkAccessManager(qApp);
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    QNetworkReply* reply = network->post(request, QByteArray::fromStdString(body));
    // An address that never answers does not keep its replies forever.
    QTimer::singleShot(10000, reply, &QNetworkReply::abort);
    // Nobody waits for the answer; a failure is only written down.
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply] {
        if (reply->error() != QNetworkReply::NoError)
            std::fprintf(stderr, "corvano: the alert could not be posted: %s\n", qPrintable(reply->errorString()));
        reply->deleteLater();
    });
}

std::string QtPlatform::timeOfDay(long long atClockMs) const {
    const QTime at = QTime::currentTime().addMSecs(static_cast<int>((atClockMs - clockMs()) % 86400000));
    return at.toString(QStringLiteral("HH:mm:ss")).toStdString();
}

std::string applicationFolder() { return QCoreApplication::applicationDirPath().toStdString(); }

std::unique_ptr<Panel> QtChildFactory::panel(QWidget* parent) { return std::make_unique<QtPanel>(parent); }
std::unique_ptr<ComboBox> QtChildFactory::comboBox(QWidget* parent) { return std::make_unique<QtComboBox>(parent); }
std::unique_ptr<Label> QtChildFactory::label(QWidget* parent) { return std::make_unique<QtLabel>(parent); }

}  // namespace corvano::qt
