// Placeholder until the progress dialog lands: runs the loop on the calling thread.

#include "gui/dialogs/progress_dialog.h"

#include <QWidget>

void runItemLoop(QWidget* parent, const std::function<void(soramine::RunObserver&)>& loop) {
    if (parent)
        parent->setEnabled(false);
    soramine::QuietObserver observer;
    loop(observer);
    if (parent)
        parent->setEnabled(true);
}
