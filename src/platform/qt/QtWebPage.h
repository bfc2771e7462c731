#pragma once

#include <QWebEnginePage>
#include <functional>

namespace corvano::qt {

// A page on the shared profile. The owner decides where a page's request for
// a new window goes; without an answer the request is refused.
class QtWebPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit QtWebPage(QObject* parent);
    ~QtWebPage() override;

    std::function<QWebEnginePage*()> onCreateWindow;

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
};

}  // namespace corvano::qt
