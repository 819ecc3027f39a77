#pragma once

#include <QPoint>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <vector>

namespace soramine::gui {

// The list of items: a report view over ItemListModel with full-row selection. Besides the
// table view's own behaviour it drags the selected rows to a new place (with an insertion
// mark, auto-scroll at the edges, and no drop onto a selected row) and moves them by a row with
// Ctrl+Up and Ctrl+Down, takes files dropped from outside, reports the Delete key, opens the
// context menu with the menu key and Shift+F10, and shows the number of selected characters
// while a name is edited in place.
class ItemListView final : public QTableView {
    Q_OBJECT
  public:
    explicit ItemListView(QWidget* parent = nullptr);

    // The selected rows, ascending.
    std::vector<size_t> selectedRowNumbers() const;
    // Selects exactly these rows (ascending) without announcing each.
    void selectRows(const std::vector<size_t>& rows);
    // Starts the in-place edit of a row's name with its first `selected` characters selected.
    void editName(int row, int selected);

    // The insertion index of a drag under way (-1 when a drop would do nothing).
    int insertionIndex() const { return insertAt_; }

  signals:
    void deletePressed();
    // The dragged rows are to move before row `at` (rowCount() for the end).
    void rowsDragged(int at);
    void pathsDropped(const QStringList& paths);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void moveSelectionByKey(int direction);
    void placeMark(int y);
    void placeMarkOnRow(int row, bool below);
    void autoScroll();
    void endDrag();

    QPoint pressPos_;
    bool pressedOnSelection_ = false;
    bool dragging_ = false;
    int insertAt_ = -1;
    int markRow_ = -1;         // the row the mark is drawn at
    bool markBelow_ = false;   // under the last row rather than above markRow_
    int scrollDirection_ = 0;  // 0 none, -1 up, +1 down
    QTimer scrollTimer_;
};

}  // namespace soramine::gui
