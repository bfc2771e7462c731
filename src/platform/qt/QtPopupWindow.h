#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace corvano::qt {

class QtWebPage;

// A window a page opened for itself: a read-only address line over its own
// view on its opener's profile. Not a browser window: not numbered, counted or
// saved; it deletes itself when closed.
class QtPopupWindow : public QWidget {
    Q_OBJECT
public:
    // `askNewWindow` decides on the pop-up's own requests for new windows;
    // `askClose` on its script's window.close() (true: close).
    QtPopupWindow(QWebEngineProfile* profile, std::function<QWebEnginePage*()> askNewWindow,
                  std::function<bool()> askClose);
    ~QtPopupWindow() override;

    QtWebPage* page() const { return page_; }
    QWebEngineView* view() const { return view_; }

private:
    QLineEdit* address_;
    QWebEngineView* view_;
    QtWebPage* page_;
};

}  // namespace corvano::qt
