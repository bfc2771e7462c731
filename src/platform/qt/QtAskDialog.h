#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvano::qt {

// A question with two answers, the second being the safe one: Escape and
// the close box give it too. Accepted means the first answer.
class QtAskDialog : public QDialog {
    Q_OBJECT
public:
    QtAskDialog(const QString& text, const QString& title, const QString& yes, const QString& no, QWidget* parent);

    QString text() const;
    QPushButton* yesButton() const { return yes_; }
    QPushButton* noButton() const { return no_; }

private:
    QLabel* text_;
    QPushButton* yes_;
    QPushButton* no_;
};

}  // namespace corvano::qt
