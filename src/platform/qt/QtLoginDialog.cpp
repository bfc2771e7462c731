#include "platform/qt/QtLoginDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtTexts.h"

namespace corvano::qt {

QtLoginDialog::QtLoginDialog(const QString& site, const QString& realm, bool proxy, QWidget* parent)
    : QDialog(parent),
      proxy_(proxy),
      siteCaption_(new QLabel(this)),
      realmCaption_(new QLabel(this)),
      userCaption_(new QLabel(this)),
      passwordCaption_(new QLabel(this)),
      user_(new QLineEdit(this)),
      password_(new QLineEdit(this)),
      remember_(new QCheckBox(this)) {
    setObjectName(QStringLiteral("loginDialog"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    user_->setObjectName(QStringLiteral("loginUser"));
    password_->setObjectName(QStringLiteral("loginPassword"));
    password_->setEchoMode(QLineEdit::Password);
    remember_->setObjectName(QStringLiteral("loginRemember"));

    auto plain = [this](const QString& text, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    auto* form = new QFormLayout;
    form->addRow(siteCaption_, plain(site, "loginSite"));
    form->addRow(realmCaption_, plain(realm, "loginRealm"));
    form->addRow(userCaption_, user_);
    form->addRow(passwordCaption_, password_);
    form->addRow(QString(), remember_);

    auto* buttons = new QDialogButtonBox(this);
    logIn_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    logIn_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(buttons);
    setMinimumWidth(380);

    takeTexts();
    connect(QtTexts::instance(), &QtTexts::changed, this, &QtLoginDialog::takeTexts);
    user_->setFocus();
}

void QtLoginDialog::takeTexts() {
    setWindowTitle(uiText(TextId::LoginTitle));
    siteCaption_->setText(uiText(proxy_ ? TextId::LoginProxy : TextId::LoginSite));
    realmCaption_->setText(uiText(TextId::LoginRealm));
    userCaption_->setText(uiText(TextId::LoginUser));
    passwordCaption_->setText(uiText(TextId::LoginPassword));
    remember_->setText(uiText(TextId::LoginRemember));
    logIn_->setText(uiText(TextId::LogIn));
    cancel_->setText(uiText(TextId::Cancel));
}

QString QtLoginDialog::user() const { return user_->text(); }
QString QtLoginDialog::password() const { return password_->text(); }
bool QtLoginDialog::remember() const { return remember_->isChecked(); }

}  // namespace corvano::qt
