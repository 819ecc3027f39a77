#include "gui/item_list_model.h"

#include "gui/qt_text.h"

namespace soramine::gui {

ItemListModel::ItemListModel(const RenameSession& session, std::vector<ListColumn> columns,
                             QObject* parent)
    : QAbstractTableModel(parent), session_(session), columns_(std::move(columns)) {}

int ItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(session_.items().count());
}

int ItemListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
    const auto row = static_cast<size_t>(index.row());
    const auto column = static_cast<size_t>(index.column());
    if (row >= session_.items().count() || column >= columns_.size())
        return {};
    const ListColumn& c = columns_[column];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (c.rightAligned ? Qt::AlignRight : Qt::AlignLeft));
    if ((role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) || !c.field)
        return {};
    std::u16string_view text = session_.items().text(*c.field, row);
    // Date texts end in a line feed, which a one-line cell has no room for.
    if (!text.empty() && text.back() == u'\n')
        text.remove_suffix(1);
    return qs(text);
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        static_cast<size_t>(section) >= columns_.size())
        return {};
    const ListColumn& c = columns_[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole)
        return qs(c.caption);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (c.rightAligned ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

Qt::ItemFlags ItemListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const auto column = static_cast<size_t>(index.column());
    if (index.isValid() && column < columns_.size() && columns_[column].field == ItemTable::kName)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ItemListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role == Qt::EditRole && index.isValid() && (flags(index) & Qt::ItemIsEditable))
        emit nameEdited(index.row(), value.toString());
    return false;
}

void ItemListModel::refreshRows() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

}  // namespace soramine::gui
