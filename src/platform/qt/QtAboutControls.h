#pragma once

#include <QPushButton>
#include <QWidget>

#include "platform/Button.h"
#include "platform/Picture.h"
#include "platform/Shell.h"
#include "platform/qt/QtControl.h"

namespace corvano::qt {

class QtButton : public QtControl<Button, QPushButton> {
public:
    explicit QtButton(QWidget* parent);
    std::string text() const override;
    void setText(const std::string& text) override;
};

class QtPictureWidget;

class QtPicture : public QtControl<Picture, QWidget> {
public:
    explicit QtPicture(QWidget* parent);
    std::string source() const override { return source_; }
    void setSource(const std::string& source) override;

private:
    std::string source_;
};

// Links and mail addresses go to the desktop's default handler.
class QtShell : public Shell {
public:
    void open(const std::string& document, const std::string& verb) override;
};

}  // namespace corvano::qt
