#pragma once

#include <QDialog>

#include "core/app/ini_file.h"

// "リネーム終了": the result line and the log text.
class LogDialog : public QDialog {
    Q_OBJECT
  public:
    LogDialog(const QString& resultLine, const QString& logText, soramine::IniFile& ini,
              QWidget* parent);
};
