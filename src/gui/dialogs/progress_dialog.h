#pragma once

#include <QDialog>
#include <functional>

#include "core/engine/run.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace soramine::gui {

// "変更中です": the progress of an item loop, its count "n / m" beside the bar, and the button
// that asks it to stop (by click, Space or its access key; Enter and Return never press it,
// wherever the focus is). The loop itself runs elsewhere (runItemLoop); the dialog only shows
// what it is told.
class ProgressDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    void showProgress(int maximum, int value);
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* bar() const { return bar_; }
    QLabel* count() const { return count_; }
    // Closes the dialog; the loop is over.
    void finish();

    // Closing the window or pressing Escape asks the loop to stop, like "中止(&A)": the dialog
    // goes away only when the loop has ended.
    void reject() override;

  signals:
    void cancelRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QProgressBar* bar_;
    QLabel* count_;
    QPushButton* cancel_;
};

// Runs `loop` (an item loop of the core: previewItems / executeItems / undoItems, called with the
// RunObserver it is given) on a worker thread while a modal progress dialog shows the progress and
// "中止(&A)" asks it to stop; returns when the loop has ended. The parent window is disabled
// meanwhile.
void runItemLoop(QWidget* parent, const std::function<void(soramine::RunObserver&)>& loop);

}  // namespace soramine::gui
