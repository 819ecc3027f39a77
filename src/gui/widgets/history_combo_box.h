#pragma once

#include <QComboBox>

#include "core/settings/history_box.h"

namespace soramine::gui {

// An editable combo box bound to a core history list. The core owns the list: committing a
// text or trimming to the limit happens there, and showBox() shows the result. A right click
// on the highlighted entry of the open list deletes that entry; an empty list never opens.
class HistoryComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit HistoryComboBox(QWidget* parent = nullptr);

    void bind(soramine::HistoryBox* box);  // the core's box (section, prefix, entries, text)
    soramine::HistoryBox* box() const;
    void showBox();   // core -> widget: list = box->entries, edit text = box->text
    void takeText();  // widget -> core: box->text = the edit text

    void showPopup() override;

  signals:
    // The user deleted a list entry; the box holds the shortened list.
    void entryDeleted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool deleteHighlightedEntry();

    soramine::HistoryBox* box_ = nullptr;
    bool listWatched_ = false;  // the drop-down list exists and this box filters its clicks
};

}  // namespace soramine::gui
