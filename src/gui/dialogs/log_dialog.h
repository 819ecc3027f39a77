#pragma once

#include <QDialog>

#include "core/app/ini_file.h"

class QLabel;
class QPlainTextEdit;

namespace soramine::gui {

// "リネーム終了": the result line and the log text. The dialog opens where it was last closed
// (INI "ウインドウ"/"LogWindow") and keeps its place there when it goes away.
class LogDialog : public QDialog {
    Q_OBJECT
  public:
    LogDialog(const QString& resultLine, const QString& logText, soramine::IniFile& ini,
              QWidget* parent);
    ~LogDialog() override;

    QLabel* resultLabel() const { return result_; }
    QPlainTextEdit* logBox() const { return log_; }

  private:
    soramine::IniFile& ini_;
    QLabel* result_;
    QPlainTextEdit* log_;
};

}  // namespace soramine::gui
