#pragma once

#include <functional>

#include "core/engine/run.h"

class QWidget;

// "変更中です", and the runner of an item loop: runs `loop` while a modal progress dialog shows
// the progress; returns when the loop has ended. The parent window is disabled meanwhile.
void runItemLoop(QWidget* parent, const std::function<void(soramine::RunObserver&)>& loop);
