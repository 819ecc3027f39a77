#pragma once

#include <QComboBox>

#include "core/settings/history_box.h"

// An editable combo box bound to a core history list.
class HistoryComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit HistoryComboBox(QWidget* parent = nullptr);
    void bind(soramine::HistoryBox* box);  // the core's box (section, prefix, entries, text)
    soramine::HistoryBox* box() const;
    void showBox();   // core -> widget: list = box->entries, edit text = box->text
    void takeText();  // widget -> core: box->text = the edit text

  private:
    soramine::HistoryBox* box_ = nullptr;
};
