#include "gui/item_list_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QUrl>
#include <algorithm>

namespace soramine::gui {
namespace {

constexpr int kSlowScroll = 70;  // ms between scroll steps just outside the list
constexpr int kFastScroll = 10;  // ... and 51 pixels or more outside it
constexpr int kFastDistance = 51;

// The name editor shows, while text is selected in it, how many characters are selected.
class NameEditDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            QObject::connect(line, &QLineEdit::selectionChanged, line, [line] {
                const QString count = QString::number(line->selectedText().size());
                QToolTip::showText(line->mapToGlobal(QPoint(0, line->height())), count, line);
            });
        }
        return editor;
    }
};

}  // namespace

ItemListView::ItemListView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setItemDelegate(new NameEditDelegate(this));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Every row has the same height, so the view never measures rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(&scrollTimer_, &QTimer::timeout, this, &ItemListView::autoScroll);
}

std::vector<size_t> ItemListView::selectedRowNumbers() const {
    std::vector<size_t> rows;
    if (!selectionModel())
        return rows;
    // Ranges, not indexes: selecting all of a long list is one range.
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.push_back(static_cast<size_t>(r));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void ItemListView::selectRows(const std::vector<size_t>& rows) {
    QItemSelection selection;
    const int lastColumn = model()->columnCount() - 1;
    for (size_t i = 0; i < rows.size();) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        selection.select(model()->index(static_cast<int>(rows[i]), 0),
                         model()->index(static_cast<int>(rows[j]), lastColumn));
        i = j + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void ItemListView::editName(int row, int selected) {
    const QModelIndex index = model()->index(row, 0);
    setCurrentIndex(index);
    edit(index);
    // The view selects the whole text of a new editor; the caller's part replaces that.
    if (auto* line = qobject_cast<QLineEdit*>(indexWidget(index)))
        line->setSelection(0, selected);
}

void ItemListView::keyPressEvent(QKeyEvent* event) {
    if (state() == QAbstractItemView::EditingState) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Delete) {
        emit deletePressed();
    } else if (key == Qt::Key_Menu || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        // The context menu at the current row, as a right click there would open it.
        const QModelIndex current = currentIndex();
        emit customContextMenuRequested(current.isValid() ? visualRect(current).bottomLeft()
                                                          : QPoint(0, 0));
    } else if ((key == Qt::Key_Up || key == Qt::Key_Down) && modifiers == Qt::ControlModifier) {
        moveSelectionByKey(key == Qt::Key_Up ? -1 : 1);
    } else {
        QTableView::keyPressEvent(event);
    }
}

void ItemListView::moveSelectionByKey(int direction) {
    // The keyboard's drag: the selected rows move one row up or down, as a drop just above
    // the row before them or just below the row after them would move them.
    const std::vector<size_t> rows = selectedRowNumbers();
    if (rows.empty())
        return;
    const int first = static_cast<int>(rows.front());
    const int last = static_cast<int>(rows.back());
    if (direction < 0 ? first == 0 : last + 1 >= model()->rowCount())
        return;
    emit rowsDragged(direction < 0 ? first - 1 : std::min(last + 2, model()->rowCount()));
    const std::vector<size_t> moved = selectedRowNumbers();
    if (moved.empty())
        return;
    const QModelIndex current = model()->index(static_cast<int>(moved.front()), 0);
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    scrollTo(current);
}

void ItemListView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    pressedOnSelection_ = event->button() == Qt::LeftButton && index.isValid() &&
                          selectionModel()->isRowSelected(index.row(), {}) &&
                          event->modifiers() == Qt::NoModifier;
    if (pressedOnSelection_) {
        // The press may start a drag of the selection: the selection stays until release.
        pressPos_ = event->position().toPoint();
        return;
    }
    QTableView::mousePressEvent(event);
}

void ItemListView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (pressedOnSelection_ && !dragging_ &&
        (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        dragging_ = true;
        insertAt_ = -1;
        markRow_ = -1;
    }
    if (!dragging_) {
        if (!pressedOnSelection_)
            QTableView::mouseMoveEvent(event);
        return;
    }
    placeMark(pos.y());
    const int outside = pos.y() < 0 ? -pos.y() : pos.y() - viewport()->height();
    scrollDirection_ = pos.y() < 0 ? -1 : pos.y() > viewport()->height() ? 1 : 0;
    if (scrollDirection_ == 0) {
        scrollTimer_.stop();
    } else {
        const int interval = outside < kFastDistance ? kSlowScroll : kFastScroll;
        if (!scrollTimer_.isActive() || scrollTimer_.interval() != interval)
            scrollTimer_.start(interval);
    }
}

void ItemListView::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_) {
        const int at = insertAt_;
        endDrag();
        if (at >= 0)
            emit rowsDragged(at);
        return;
    }
    if (pressedOnSelection_) {
        // A click on a selected row without a drag selects that row alone.
        pressedOnSelection_ = false;
        QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->globalPosition(),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QTableView::mousePressEvent(&press);
    }
    QTableView::mouseReleaseEvent(event);
}

void ItemListView::placeMark(int y) {
    const int rows = model()->rowCount();
    if (rows == 0)
        return;
    int row = rowAt(std::clamp(y, 0, viewport()->height() - 1));
    bool below = false;
    if (row < 0) {  // below the last row
        row = rows - 1;
        below = true;
    }
    placeMarkOnRow(row, below);
}

void ItemListView::placeMarkOnRow(int row, bool below) {
    if (row < 0 || row >= model()->rowCount())
        return;
    if (selectionModel()->isRowSelected(row, {})) {
        viewport()->setCursor(Qt::ForbiddenCursor);
        insertAt_ = -1;
        markRow_ = -1;
    } else {
        viewport()->setCursor(Qt::DragMoveCursor);
        insertAt_ = below ? row + 1 : row;
        markRow_ = row;
        markBelow_ = below;
    }
    viewport()->update();
}

void ItemListView::autoScroll() {
    if (!dragging_ || scrollDirection_ == 0)
        return;
    verticalScrollBar()->setValue(verticalScrollBar()->value() + scrollDirection_);
    const int base = insertAt_ >= 0         ? insertAt_
                     : scrollDirection_ < 0 ? rowAt(0)
                                            : rowAt(viewport()->height() - 1);
    const int next = base + scrollDirection_;
    if (next >= model()->rowCount())
        placeMarkOnRow(model()->rowCount() - 1, true);
    else
        placeMarkOnRow(std::max(next, 0), false);
}

void ItemListView::endDrag() {
    scrollTimer_.stop();
    dragging_ = false;
    pressedOnSelection_ = false;
    insertAt_ = -1;
    markRow_ = -1;
    viewport()->unsetCursor();
    viewport()->update();
}

void ItemListView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!dragging_ || markRow_ < 0)
        return;
    // The insertion mark: a line two pixels high across the row's top (or bottom) edge.
    const int y = rowViewportPosition(markRow_) + (markBelow_ ? rowHeight(markRow_) : 0);
    QPainter painter(viewport());
    painter.fillRect(QRect(0, std::max(0, y - 1), viewport()->width() - 1, 2),
                     palette().color(QPalette::Text));
}

void ItemListView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void ItemListView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void ItemListView::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    event->acceptProposedAction();
    if (!paths.isEmpty())
        emit pathsDropped(paths);
}

}  // namespace soramine::gui
