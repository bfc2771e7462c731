#pragma once

#include <QPointer>
#include <QWebEngineFindTextResult>
#include <array>
#include <optional>
#include <QWidget>
#include <functional>

class QLabel;
class QToolButton;
class QLineEdit;
class QWebEnginePage;

namespace corvano::qt {

// Find in page, over the bottom edge of the view: finds as the user types,
// next, previous, the match count; Escape closes it and clears the highlight.
class QtFindBar : public QWidget {
    Q_OBJECT
public:
    explicit QtFindBar(QWidget* parent);

    void setPage(QWebEnginePage* page) { page_ = page; }
    // Shows the bar with the text selected, ready for typing.
    void open();
    void close();

    void findNext();
    void findPrevious();
    QString countText() const;
    QLineEdit* edit() const { return edit_; }

    // Searches something other than a page: gets the text (empty: clear the
    // highlight) and the direction, answers the active match and the count.
    using Finder = std::function<void(const QString& text, bool backward, std::function<void(int, int)> answer)>;
    void setFinder(Finder finder) { finder_ = std::move(finder); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Escape closes the bar, not the window's stop shortcut.
    bool event(QEvent* event) override;

private:
    void find(bool backward);
    void showResult(const QWebEngineFindTextResult& result);
    void takeTexts();
    void showCount(int active, int total);

    QPointer<QWebEnginePage> page_;
    QLineEdit* edit_;
    QLabel* count_;
    std::array<QToolButton*, 3> buttons_{};
    std::optional<std::pair<int, int>> shown_;
    Finder finder_;
};

}  // namespace corvano::qt
