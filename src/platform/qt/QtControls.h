#pragma once

#include <QComboBox>
#include <QCompleter>
#include <QStringListModel>
#include <QLabel>
#include <QWidget>

#include "platform/ComboBox.h"
#include "platform/Container.h"
#include "platform/Label.h"
#include "platform/qt/QtControl.h"

namespace corvano::qt {

class QtPanel : public QtControl<Panel, QWidget> {
public:
    explicit QtPanel(QWidget* parent);
    std::unique_ptr<Panel> createPanel() override;
    std::unique_ptr<CommandBarControl> createCommandBar(int index, BarClickHandler onClick) override;
    std::unique_ptr<ComboBox> createComboBox() override;
    std::unique_ptr<Label> createLabel() override;
    std::unique_ptr<WebView> createWebView(const WebProfile& profile) override;
    std::unique_ptr<TextEditBox> createTextEditBox() override;
    std::unique_ptr<Button> createButton() override;
    std::unique_ptr<Picture> createPicture() override;
    std::unique_ptr<MarkupBox> createMarkupBox() override;
};

class QtComboBox : public QtControl<ComboBox, QComboBox> {
public:
    explicit QtComboBox(QWidget* parent);
    std::string text() const override;
    void setText(const std::string& text) override;
    void addItem(const std::string& item) override;
    void clearItems() override;
    int itemCount() const override;
    std::string item(int index) const override;
    bool hasFocus() const override;

    // Address completion.
    void selectAll() override;
    void offerCompletions(const std::vector<std::string>& items, const std::string& inlineText) override;
    QCompleter* completer() const { return completer_; }

private:
    class KeyFilter;
    KeyFilter* filter_;
    QCompleter* completer_ = nullptr;
    QStringListModel* completions_ = nullptr;
    // A list choice made with Enter: Enter runs, not the choice as well.
    bool choicePending_ = false;
};

class QtLabel : public QtControl<Label, QLabel> {
public:
    explicit QtLabel(QWidget* parent);
    std::string text() const override;
    void setText(const std::string& text) override;
    void setLink(bool on) override;

private:
    class ClickFilter;
};

}  // namespace corvano::qt
