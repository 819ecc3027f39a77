#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/engine/session.h"
#include "gui/list_columns.h"

namespace soramine::gui {

// The list's rows as a thin view on the session's item table: a cell is read from the table
// when the view paints it, nothing is copied. A change of the table is announced by one
// reset (or one dataChanged over the rows), never row by row.
class ItemListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    ItemListModel(const RenameSession& session, std::vector<ListColumn> columns,
                  QObject* parent = nullptr);

    const std::vector<ListColumn>& columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The name column's label edit: hands the text on through nameEdited and changes nothing
    // itself; the window renames the file and then refreshes the row.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Around every change of the table's rows.
    void beginChange() { beginResetModel(); }
    void endChange() { endResetModel(); }
    // After names or folders changed in place.
    void refreshRows();

  signals:
    void nameEdited(int row, const QString& text);

  private:
    const RenameSession& session_;
    std::vector<ListColumn> columns_;
};

}  // namespace soramine::gui
