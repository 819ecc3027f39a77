#pragma once

#include <QAbstractTableModel>
#include <QDialog>

#include "core/engine/preview.h"

class QPushButton;
class QTableView;

namespace soramine::gui {

// The rows of a preview as a table: "変更前" and "変更後". Cells are read from the result's
// lists when they are painted; nothing is copied per row.
class PreviewModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    PreviewModel(const soramine::PreviewResult& result, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const soramine::PreviewResult& result_;
};

// "変更予測": old and new names of a preview. `result` must outlive the dialog (the caller
// shows it modally).
class PreviewDialog : public QDialog {
    Q_OBJECT
  public:
    PreviewDialog(const soramine::PreviewResult& result, QWidget* mainWindow);

    QTableView* table() const { return table_; }
    QPushButton* copyButton() const { return copy_; }

  private:
    void copyToClipboard();

    const soramine::PreviewResult& result_;
    QTableView* table_;
    QPushButton* copy_;
};

}  // namespace soramine::gui
