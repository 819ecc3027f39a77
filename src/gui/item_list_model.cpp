#include "gui/item_list_model.h"

#include <QColor>
#include <algorithm>

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
    if (c.newNames)
        return newNameData(row, role);
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

QVariant ItemListModel::newNameData(std::size_t row, int role) const {
    if (row >= newNames_.size() || generations_[row] != generation_)
        return {};
    const LiveMark mark = marks_[row];
    switch (role) {
        case Qt::DisplayRole:
            return qs(newNames_[row]);
        case Qt::ForegroundRole:
            // Colour for the eye; the tool tip and the accessible description say why in words.
            if (mark == LiveMark::kNumbered)
                return QColor(0xA0, 0x50, 0x00);
            if (mark == LiveMark::kRefused || mark == LiveMark::kClash)
                return QColor(0xC0, 0x00, 0x00);
            return {};
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            if (mark == LiveMark::kNone)
                return {};
            return qs(reasons_[row]);
        default:
            return {};
    }
}

void ItemListModel::setColumns(std::vector<ListColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

int ItemListModel::newNamesColumn() const {
    const auto at = std::find_if(columns_.begin(), columns_.end(),
                                 [](const ListColumn& c) { return c.newNames; });
    return at == columns_.end() ? -1 : static_cast<int>(at - columns_.begin());
}

void ItemListModel::endChange() {
    // The new names belonged to the rows before the change.
    newNames_.clear();
    marks_.clear();
    reasons_.clear();
    generations_.clear();
    endResetModel();
}

void ItemListModel::takeNewNames(const LiveNamesBatch& batch) {
    const std::size_t rows = session_.items().count();
    if (newNames_.size() != rows) {
        newNames_.resize(rows);
        marks_.resize(rows);
        reasons_.resize(rows);
        generations_.assign(rows, 0);
    }
    // The first batch makes every older entry stale at once; the work stays that of the batch.
    if (batch.first)
        generation_ = batch.generation;
    std::size_t top = batch.first ? 0 : rows;
    std::size_t bottom = batch.first ? rows : 0;
    for (std::size_t i = 0; i < batch.rows.size(); ++i) {
        const std::size_t row = batch.rows[i];
        if (row >= rows)
            continue;
        newNames_[row] = batch.names[i];
        marks_[row] = batch.marks[i];
        reasons_[row] = batch.reasons[i];
        generations_[row] = batch.generation;
        top = std::min(top, row);
        bottom = std::max(bottom, row + 1);
    }
    const int column = newNamesColumn();
    if (column >= 0 && top < bottom)
        emit dataChanged(index(static_cast<int>(top), column),
                         index(static_cast<int>(bottom) - 1, column));
}

void ItemListModel::refreshRows() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit rowsRefreshed();
}

}  // namespace soramine::gui
