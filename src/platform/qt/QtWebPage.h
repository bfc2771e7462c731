#pragma once

#include <QWebEnginePage>
#include <functional>

class QWebEngineDownloadRequest;

namespace corvano::qt {

// A page on a window's profile. The owner decides where a page's request for
// a new window goes; without an answer the request is refused.
class QtWebPage : public QWebEnginePage {
    Q_OBJECT
public:
    QtWebPage(QWebEngineProfile* profile, QObject* parent);
    ~QtWebPage() override;

    std::function<QWebEnginePage*()> onCreateWindow;

    // Downloads, and the page actions its owner carries out itself.
    // A download this page started; without an owner it is refused.
    std::function<void(QWebEngineDownloadRequest*)> onDownload;
    // True when the owner has carried the action out in place of the engine.
    std::function<bool(WebAction)> onAction;
    void triggerAction(WebAction action, bool checked = false) override;

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
};

}  // namespace corvano::qt
