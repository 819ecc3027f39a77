#pragma once

#include <QDialog>

#include "core/engine/folder_maker.h"

class QRadioButton;
class QSpinBox;

namespace soramine::gui {

class Prompts;

// "フォルダ作成設定": the layout of the folders to make (side by side or nested) and their
// number. "OK" accepts only a count from 2 to 16 (else "作成個数の値が不正です。" and the
// dialog stays open); the count box's arrows keep to that range, while typing may leave it.
class FolderLayoutDialog final : public QDialog {
    Q_OBJECT
  public:
    FolderLayoutDialog(const FolderLayout& initial, Prompts& prompts, QWidget* parent = nullptr);

    // The layout chosen with "OK".
    const FolderLayout& layout() const { return layout_; }

    void accept() override;

  private:
    FolderLayout layout_;
    Prompts& prompts_;
    QRadioButton* sideBySide_;
    QRadioButton* nested_;
    QSpinBox* count_;
};

}  // namespace soramine::gui
