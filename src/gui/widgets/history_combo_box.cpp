// Placeholder until the history box widget lands: binds and copies texts, nothing more.

#include "gui/widgets/history_combo_box.h"

#include "gui/qt_text.h"

using soramine::gui::qs;
using soramine::gui::u16;

HistoryComboBox::HistoryComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void HistoryComboBox::bind(soramine::HistoryBox* box) {
    box_ = box;
    showBox();
}

soramine::HistoryBox* HistoryComboBox::box() const {
    return box_;
}

void HistoryComboBox::showBox() {
    if (!box_)
        return;
    clear();
    for (const auto& entry : box_->entries)
        addItem(qs(entry));
    setEditText(qs(box_->text));
}

void HistoryComboBox::takeText() {
    if (box_)
        box_->text = u16(currentText());
}
