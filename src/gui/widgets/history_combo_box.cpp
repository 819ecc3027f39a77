#include "gui/widgets/history_combo_box.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>

#include "gui/qt_text.h"

namespace soramine::gui {

HistoryComboBox::HistoryComboBox(QWidget* parent) : QComboBox(parent) {
    // Editable through a line edit of its own, which leaves the drop-down list to be built when
    // it first opens (a window has many of these boxes, and most lists are never opened).
    setLineEdit(new QLineEdit(this));
    // New entries come from the core's commit, never from pressing Enter in the box.
    setInsertPolicy(QComboBox::NoInsert);
    // Typing is taken as typed: no inline completion from the history.
    setCompleter(nullptr);
    setMaxVisibleItems(30);
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
    {
        const QSignalBlocker quiet(this);
        clear();
        for (const std::u16string& entry : box_->entries)
            addItem(qs(entry));
    }
    // The text change is announced, so that what depends on the text (a sample line) follows.
    setEditText(qs(box_->text));
}

void HistoryComboBox::takeText() {
    if (box_)
        box_->text = u16(currentText());
}

void HistoryComboBox::showPopup() {
    if (count() == 0)
        return;
    if (!listWatched_) {
        // A long history scrolls with a scroll bar, as in any editable box. The filter goes
        // on after the list's own one, so it sees a right click first and can keep the list
        // from taking it as a choice.
        view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        view()->viewport()->installEventFilter(this);
        listWatched_ = true;
    }
    QComboBox::showPopup();
}

bool HistoryComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (listWatched_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
        watched == view()->viewport())
        return deleteHighlightedEntry();
    return QComboBox::eventFilter(watched, event);
}

bool HistoryComboBox::deleteHighlightedEntry() {
    const QModelIndex highlighted = view()->currentIndex();
    if (!box_ || !view()->isVisible() || !highlighted.isValid())
        return false;
    const auto row = static_cast<std::size_t>(highlighted.row());
    if (row >= box_->entries.size())
        return false;
    takeText();  // kept when the last entry goes
    soramine::deleteHistoryEntry(*box_, row);
    showBox();
    if (count() == 0)
        hidePopup();
    else
        view()->setCurrentIndex(model()->index(0, 0));
    emit entryDeleted();
    return true;
}

}  // namespace soramine::gui
