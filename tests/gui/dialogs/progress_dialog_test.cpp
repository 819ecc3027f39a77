#include "gui/dialogs/progress_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

using soramine::RunObserver;
using soramine::gui::ProgressDialog;
using soramine::gui::runItemLoop;
using Clock = std::chrono::steady_clock;

namespace {

ProgressDialog* openProgressDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<ProgressDialog*>(w);
        if (dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Calls `probe` with the open progress dialog every few milliseconds on the GUI thread, while
// the item loop runs on its worker.
class DialogProbe {
  public:
    explicit DialogProbe(std::function<void(ProgressDialog&)> probe) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [probe] {
            if (ProgressDialog* dialog = openProgressDialog())
                probe(*dialog);
        });
        timer_.start();
    }

  private:
    QTimer timer_;
};

// The item loop of a run of `items` items, as the core's loops drive their observer: each item
// takes `work`, the loop stops when a cancel is asked for. Returns the items done.
std::size_t itemLoop(RunObserver& o, std::size_t items, std::chrono::microseconds work,
                     const std::function<void(std::size_t)>& perItem = {}) {
    o.begin(items);
    std::size_t k = 0;
    for (; k < items; ++k) {
        std::this_thread::sleep_for(work);
        if (perItem)
            perItem(k);
        o.step();
        if (o.cancelled())
            break;
        o.advance(1);
    }
    o.end();
    return k;
}

}  // namespace

class ProgressDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void runsTheLoopOnAWorkerWhileTheWindowIsDisabled();
    void cancelStopsA100000ItemRunWithin100Ms();
    void enterIsSwallowedAndTheButtonsKeysAskToStop_data();
    void enterIsSwallowedAndTheButtonsKeysAskToStop();
    void workInsideAnItemShowsItsOwnCaptionAndRange();
};

void ProgressDialogTest::runsTheLoopOnAWorkerWhileTheWindowIsDisabled() {
    QWidget window;
    window.show();
    std::atomic<bool> looked{false};
    bool windowDisabled = false;
    bool buttonUsable = false;
    int barMaximum = -1;
    int barValue = -1;
    QString caption;
    DialogProbe probe([&](ProgressDialog& dialog) {
        if (dialog.bar()->value() < 40)
            return;
        windowDisabled = !window.isEnabled();
        buttonUsable = dialog.cancelButton()->isEnabled();
        barMaximum = dialog.bar()->maximum();
        barValue = dialog.bar()->value();
        caption = dialog.windowTitle();
        looked = true;
    });
    std::thread::id loopThread;
    std::size_t done = 0;
    runItemLoop(&window, [&](RunObserver& o) {
        loopThread = std::this_thread::get_id();
        done = itemLoop(o, 100, std::chrono::microseconds(0), [&](std::size_t k) {
            // Halfway, wait until the GUI thread has looked at the dialog.
            const auto until = Clock::now() + std::chrono::seconds(10);
            while (k == 50 && !looked && Clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    });
    QVERIFY(looked);
    QVERIFY(loopThread != std::this_thread::get_id());
    QCOMPARE(done, std::size_t{100});
    QVERIFY(windowDisabled);
    QVERIFY(buttonUsable);
    QCOMPARE(barMaximum, 100);
    QVERIFY(barValue >= 40 && barValue <= 51);
    QCOMPARE(caption, QStringLiteral("変更中です"));
    QVERIFY(window.isEnabled());
    QVERIFY(!openProgressDialog());
}

void ProgressDialogTest::cancelStopsA100000ItemRunWithin100Ms() {
    QWidget window;
    window.show();
    std::atomic<Clock::rep> clickedAt{0};
    int valueBeforeClick = 0;
    DialogProbe probe([&](ProgressDialog& dialog) {
        if (clickedAt.load() != 0 || dialog.bar()->value() < 1000)
            return;
        valueBeforeClick = dialog.bar()->value();
        clickedAt = Clock::now().time_since_epoch().count();
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        // A second click changes nothing.
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    });
    Clock::rep stoppedAt = 0;
    std::size_t done = 0;
    runItemLoop(&window, [&](RunObserver& o) {
        done = itemLoop(o, 100000, std::chrono::microseconds(20));
        stoppedAt = Clock::now().time_since_epoch().count();
    });
    QVERIFY(clickedAt.load() != 0);
    QVERIFY(valueBeforeClick >= 1000);
    QVERIFY2(done < 100000, "the loop ran to its end");
    const auto reaction = std::chrono::duration_cast<std::chrono::milliseconds>(
        Clock::duration(stoppedAt - clickedAt.load()));
    QVERIFY2(reaction.count() < 100, qPrintable(QString::number(reaction.count()) + " ms"));
    QVERIFY(window.isEnabled());
}

void ProgressDialogTest::enterIsSwallowedAndTheButtonsKeysAskToStop_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Space on the focused button") << int(Qt::Key_Space) << int(Qt::NoModifier);
    QTest::newRow("access key Alt+A") << int(Qt::Key_A) << int(Qt::AltModifier);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
}

void ProgressDialogTest::enterIsSwallowedAndTheButtonsKeysAskToStop() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    std::atomic<int> phase{0};  // 1 Enter pressed, 2 the stopping key pressed
    bool openAfterEnter = false;
    QString focused;
    QString count;
    Clock::time_point enterAt;
    DialogProbe probe([&](ProgressDialog& dialog) {
        if (phase == 0) {
            // The keys go where a user's keys go: to the widget that has the focus.
            QWidget* focus = QApplication::focusWidget();
            if (!focus)
                return;
            focused = focus->accessibleName();
            for (Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter})
                QTest::keyClick(focus, enter);
            enterAt = Clock::now();
            phase = 1;
        } else if (phase == 1 && Clock::now() - enterAt > std::chrono::milliseconds(50) &&
                   (dialog.count()->text() == QStringLiteral("3 / 7") ||
                    Clock::now() - enterAt > std::chrono::seconds(5))) {
            // The count comes with a refresh of the dialog, which a loaded machine may delay.
            openAfterEnter = dialog.isVisible();
            count = dialog.count()->text();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                            Qt::KeyboardModifiers(modifiers));
            phase = 2;
        }
    });
    int phaseAtCancel = -1;
    runItemLoop(nullptr, [&](RunObserver& o) {
        o.begin(7);
        o.advance(3);
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (!o.cancelled() && Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        phaseAtCancel = phase;
        o.end();
    });
    QCOMPARE(focused, QStringLiteral("中止(A)"));
    QVERIFY(openAfterEnter);
    QCOMPARE(count, QStringLiteral("3 / 7"));
    QCOMPARE(phaseAtCancel, 2);  // not 1: Enter asked nothing
}

void ProgressDialogTest::workInsideAnItemShowsItsOwnCaptionAndRange() {
    std::atomic<int> phase{0};   // 1 inside the item's work, 2 after it
    std::atomic<int> looked{0};  // phases the GUI thread has seen on the dialog
    QStringList captions;
    QList<int> maxima;
    DialogProbe probe([&](ProgressDialog& dialog) {
        const int now = phase.load();
        if (now == 0 || looked.load() >= now)
            return;
        // Wait for the dialog's refresh to show the phase.
        if ((now == 1 && dialog.bar()->value() < 3) || (now == 2 && dialog.bar()->maximum() == 611))
            return;
        captions << dialog.windowTitle();
        maxima << dialog.bar()->maximum();
        looked = now;
    });
    const auto waitForLook = [&](int seen) {
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (looked.load() < seen && Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    runItemLoop(nullptr, [&](RunObserver& o) {
        o.begin(10);
        o.beginItemWork(u"ハッシュ計算中", 611);
        o.advanceItemWork(3);
        phase = 1;
        waitForLook(1);
        o.endItemWork();
        o.advance(2);
        phase = 2;
        waitForLook(2);
        o.end();
    });
    QCOMPARE(captions,
             (QStringList{QStringLiteral("ハッシュ計算中"), QStringLiteral("変更中です")}));
    QCOMPARE(maxima, (QList<int>{611, 10}));
}

QTEST_MAIN(ProgressDialogTest)
#include "progress_dialog_test.moc"
