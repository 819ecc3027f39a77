#pragma once

#include "core/base/message.h"

class QWidget;

namespace soramine::gui {

// Shows a message of the core as a modal message box with its caption and icon.
void showMessage(QWidget* parent, const Message& message);
// Asks a Yes/No question of the core (caption normally "確認"); true for Yes.
bool askYesNo(QWidget* parent, const Message& question);

}  // namespace soramine::gui
