#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/journal.h"

class QPushButton;
class QTreeWidget;

namespace soramine::gui {

// The local time a run started, as "YYYY-MM-DD hh:mm:ss".
QString runStartText(const Journal& journal);

// "実行履歴": the runs that kept an undo journal, newest first, one row each (time, folder,
// method, count, whether the undo could still give names back), the renames of the chosen
// run on request, and "元に戻す(&U)", which closes the dialog with that run chosen.
class RunHistoryDialog : public QDialog {
    Q_OBJECT
  public:
    // `methodName` gives the caption of a method index (-1: the journal named none).
    RunHistoryDialog(std::vector<JournalInfo> runs, const std::function<QString(int)>& methodName,
                     QWidget* parent);

    // The journal of the run whose undo was asked for.
    const std::optional<std::u16string>& chosenRun() const { return chosen_; }

    QTreeWidget* runList() const { return list_; }
    QPushButton* renamesButton() const { return renamesButton_; }
    QPushButton* undoButton() const { return undoButton_; }

  private:
    void showRenames();
    void undoChosen();
    void updateButtons();

    std::vector<JournalInfo> runs_;
    QTreeWidget* list_;
    QPushButton* renamesButton_;
    QPushButton* undoButton_;
    std::optional<std::u16string> chosen_;
};

}  // namespace soramine::gui
