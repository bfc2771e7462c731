#include "platform/qt/QtAskDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvano::qt {

QtAskDialog::QtAskDialog(const QString& text, const QString& title, const QString& yes, const QString& no,
                         QWidget* parent)
    : QDialog(parent), text_(new QLabel(text, this)) {
    setObjectName(QStringLiteral("askDialog"));
    setWindowTitle(title);
    // Browser windows stay on top: the question must not hide behind them.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    text_->setMinimumWidth(360);
    auto* buttons = new QDialogButtonBox(this);
    yes_ = buttons->addButton(yes, QDialogButtonBox::AcceptRole);
    no_ = buttons->addButton(no, QDialogButtonBox::RejectRole);
    yes_->setObjectName(QStringLiteral("askYes"));
    no_->setObjectName(QStringLiteral("askNo"));
    // Enter must not say yes by accident.
    yes_->setAutoDefault(false);
    no_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* box = new QVBoxLayout(this);
    box->addWidget(text_);
    box->addWidget(buttons);
}

QString QtAskDialog::text() const { return text_->text(); }

}  // namespace corvano::qt
