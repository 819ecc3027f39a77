#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

#include "core/engine/session.h"
#include "gui/list_columns.h"
#include "gui/live_names.h"

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
    // Changes the columns (one reset).
    void setColumns(std::vector<ListColumn> columns);
    // The column of the new names, or -1 when it is not shown.
    int newNamesColumn() const;
    // Takes in a batch of new names; the request's first batch forgets the older names.
    void takeNewNames(const LiveNamesBatch& batch);

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
    void endChange();
    // After names or folders changed in place.
    void refreshRows();

  signals:
    void nameEdited(int row, const QString& text);
    // The items' names or folders changed in place (refreshRows).
    void rowsRefreshed();

  private:
    QVariant newNameData(std::size_t row, int role) const;

    const RenameSession& session_;
    std::vector<ListColumn> columns_;
    // By row, the new names as the requests computed them, their marks, and the request
    // (its generation) each row's entry belongs to: a row shows its entry only when that is
    // the latest request's, so a new request forgets the older names without touching each.
    std::vector<std::u16string> newNames_;
    std::vector<LiveMark> marks_;
    std::vector<std::u16string> reasons_;
    std::vector<std::uint64_t> generations_;
    std::uint64_t generation_ = 0;  // of the latest request whose first batch came
};

}  // namespace soramine::gui
