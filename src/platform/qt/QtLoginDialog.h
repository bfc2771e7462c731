#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvano::qt {

// Asks for a user name and password for a site or a proxy and its realm.
// The password is never shown; nothing typed here is kept by the dialog.
class QtLoginDialog : public QDialog {
    Q_OBJECT
public:
    QtLoginDialog(const QString& site, const QString& realm, bool proxy, QWidget* parent);

    QString user() const;
    QString password() const;
    QLineEdit* userEdit() const { return user_; }
    QLineEdit* passwordEdit() const { return password_; }
    // "Remember on this computer".
    QCheckBox* rememberBox() const { return remember_; }
    bool remember() const;

private:
    void takeTexts();

    bool proxy_;
    QLabel* siteCaption_;
    QLabel* realmCaption_;
    QLabel* userCaption_;
    QLabel* passwordCaption_;
    QLineEdit* user_;
    QLineEdit* password_;
    QCheckBox* remember_;
    QPushButton* logIn_;
    QPushButton* cancel_;
};

}  // namespace corvano::qt
