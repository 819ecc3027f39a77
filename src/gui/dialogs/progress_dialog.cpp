#include "gui/dialogs/progress_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <climits>
#include <mutex>
#include <thread>

namespace soramine::gui {
namespace {

// How often the dialog shows the loop's progress: well under the 100 ms in which a click on
// "中止(&A)" must be seen to work.
constexpr int kRefreshMs = 30;

QString runCaption() {
    return QStringLiteral("変更中です");
}

// The observer the item loop reports to, on the worker thread. It shares only atomics with the
// GUI thread, which reads them on a timer; the loop learns of a cancel through one of them.
class ProgressRelay final : public RunObserver {
  public:
    void begin(std::size_t steps) override {
        position_.store(0);
        range_.store(steps);
    }
    // The GUI thread handles its own events; the loop need not yield to it.
    void step() override {}
    bool cancelled() override { return cancel_.load(); }
    void advance(std::size_t steps) override { position_.fetch_add(steps); }
    void end() override { position_.store(0); }
    void beginItemWork(std::u16string_view caption, std::size_t steps) override {
        const std::lock_guard lock(itemCaptionMutex_);
        itemCaption_ = caption;
        itemPosition_.store(0);
        itemRange_.store(steps);
        itemWork_.store(true);
    }
    void advanceItemWork(std::size_t steps) override { itemPosition_.fetch_add(steps); }
    void endItemWork() override { itemWork_.store(false); }

    void requestCancel() { cancel_.store(true); }
    // What the dialog shows now: the run's progress, or the work inside an item under its own
    // caption while there is such work.
    void showIn(ProgressDialog& dialog) {
        QString caption = runCaption();
        std::size_t range = range_.load();
        std::size_t position = position_.load();
        if (itemWork_.load()) {
            const std::lock_guard lock(itemCaptionMutex_);
            caption = QString::fromStdU16String(itemCaption_);
            range = itemRange_.load();
            position = itemPosition_.load();
        }
        if (dialog.windowTitle() != caption)
            dialog.setWindowTitle(caption);
        dialog.showProgress(clampToInt(range), clampToInt(position));
    }

  private:
    static int clampToInt(std::size_t n) {
        return static_cast<int>(std::min<std::size_t>(n, INT_MAX));
    }

    std::atomic<std::size_t> range_{0};
    std::atomic<std::size_t> position_{0};
    std::atomic<bool> cancel_{false};
    std::atomic<bool> itemWork_{false};
    std::atomic<std::size_t> itemRange_{0};
    std::atomic<std::size_t> itemPosition_{0};
    std::mutex itemCaptionMutex_;
    std::u16string itemCaption_;
};

}  // namespace

ProgressDialog::ProgressDialog(QWidget* parent)
    : QDialog(parent),
      bar_(new QProgressBar(this)),
      count_(new QLabel(this)),
      cancel_(new QPushButton(QStringLiteral("中止(&A)"), this)) {
    setWindowTitle(runCaption());
    setModal(true);
    auto* text = new QLabel(QStringLiteral("処理を実行中です"), this);
    bar_->setRange(0, 0);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setAccessibleName(QStringLiteral("進行状況"));
    count_->setObjectName(QStringLiteral("progressCount"));
    // A dialog makes its button the default one when shown, and a default button presses on
    // Return; Enter must leave a run of hours going, so the button never sees it.
    cancel_->setAutoDefault(false);
    cancel_->installEventFilter(this);
    cancel_->setAccessibleName(QStringLiteral("中止(A)"));
    connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::cancelRequested);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    auto* progress = new QHBoxLayout;
    progress->addWidget(bar_, 1);
    progress->addWidget(count_);
    layout->addLayout(progress);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    setMinimumWidth(300);
}

void ProgressDialog::showProgress(int maximum, int value) {
    if (bar_->maximum() != maximum)
        bar_->setRange(0, maximum);
    bar_->setValue(std::min(value, maximum));
    count_->setText(maximum > 0 ? QStringLiteral("%1 / %2").arg(bar_->value()).arg(maximum)
                                : QString());
}

void ProgressDialog::finish() {
    QDialog::done(Accepted);
}

void ProgressDialog::reject() {
    emit cancelRequested();
}

namespace {

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

bool ProgressDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cancel_ && isEnter(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

void ProgressDialog::keyPressEvent(QKeyEvent* event) {
    // Enter neither presses "中止(&A)" nor closes the dialog.
    if (isEnter(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void runItemLoop(QWidget* parent, const std::function<void(soramine::RunObserver&)>& loop) {
    ProgressRelay relay;
    ProgressDialog dialog(parent);
    QObject::connect(&dialog, &ProgressDialog::cancelRequested, &dialog,
                     [&relay] { relay.requestCancel(); });
    QTimer refresh;
    refresh.setInterval(kRefreshMs);
    QObject::connect(&refresh, &QTimer::timeout, &dialog, [&] { relay.showIn(dialog); });

    const bool parentWasEnabled = parent && parent->isEnabled();
    if (parent)
        parent->setEnabled(false);
    // Disabling the parent disables its child windows too; the dialog must stay usable.
    dialog.setEnabled(true);

    // The worker posts the end of the loop to the dialog's thread; exec() below handles it,
    // also when the loop is over before the dialog is shown.
    std::thread worker([&] {
        loop(relay);
        QMetaObject::invokeMethod(&dialog, &ProgressDialog::finish, Qt::QueuedConnection);
    });
    refresh.start();
    dialog.exec();
    refresh.stop();
    // exec() also ends when the application quits: the loop then stops after its item.
    relay.requestCancel();
    worker.join();

    if (parent)
        parent->setEnabled(parentWasEnabled);
}

}  // namespace soramine::gui
