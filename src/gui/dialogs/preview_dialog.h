#pragma once

#include <QDialog>

#include "core/engine/preview.h"

// "変更予測": old and new names of a preview.
class PreviewDialog : public QDialog {
    Q_OBJECT
  public:
    PreviewDialog(const soramine::PreviewResult& result, QWidget* mainWindow);
};
