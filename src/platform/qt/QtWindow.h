#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "platform/Window.h"

namespace corvano::qt {

class QtWindowWidget;

// A top-level window; the logic places its outer frame, in twips.
class QtWindow : public Window {
public:
    QtWindow(WindowRole role, WindowEvents& events);
    ~QtWindow() override;

    std::unique_ptr<Panel> createPanel() override;
    std::unique_ptr<CommandBarControl> createCommandBar(int index, BarClickHandler onClick) override;
    std::unique_ptr<ComboBox> createComboBox() override;
    std::unique_ptr<Label> createLabel() override;
    std::unique_ptr<WebView> createWebView(const WebProfile& profile) override;
    std::unique_ptr<TextEditBox> createTextEditBox() override;
    std::unique_ptr<Button> createButton() override;
    std::unique_ptr<Picture> createPicture() override;

    void show() override;
    void hide() override;
    bool visible() const override;
    std::string caption() const override;
    void setCaption(const std::string& text) override;
    Rect geometry() const override;
    void setGeometry(const Rect& r) override;
    int scaleWidth() const override;
    int scaleHeight() const override;
    WindowState state() const override;
    void setFrameless(bool frameless) override;
    void setTopmost() override;
    void bringToTop() override;
    bool setBackgroundPicture(const std::string& path) override;
    void setBackgroundColor(int red, int green, int blue) override;
    void showModal(std::function<void()> closed) override;

    // Page export and source view.
    std::unique_ptr<MarkupBox> createMarkupBox() override;
    bool setOpacity(int alpha) override;

    QWidget* widget() const;

    // Someone using the window.
    bool hasKeyboardFocus() const override;
    long long lastInputMs() const override;
    bool dialogOpen() const override;
    bool covered() const override;
    void grabPng(std::function<void(std::string png)> done) override;


private:
    friend class QtWindowWidget;
    void applyRequestedGeometry();
    QPoint requestedPlace() const;

    WindowRole role_;
    QPointer<QtWindowWidget> w_;
    Rect requested_;
    bool haveRequest_ = false;
};

// Records, on each top-level window, when the user last pressed a key or a
// mouse button in it. Installed once on the application.
void watchInput();

}  // namespace corvano::qt
