#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "core/engine/session.h"
#include "core/methods/delete_extract.h"
#include "gui/pages/method_page_widget.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace soramine::gui {

class PageForm;

// "削除 / 抽出": delete or extract characters at the head, the tail, a position or a given
// text.
class DeleteExtractPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    DeleteExtractPageWidget(soramine::DeleteExtractPage& page, soramine::RenameSession& session,
                            QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    // The captions say "抽出" instead of "削除" in extract mode.
    void applyCaptions();
    // The position's controls serve position 2, the given text's position 3.
    void applyEnabling();

    soramine::DeleteExtractPage& page_;
    PageForm* form_;
    QButtonGroup* fromTail_ = nullptr;
    QLineEdit* position_ = nullptr;
    QLabel* positionCaption_ = nullptr;
    QLineEdit* givenText_ = nullptr;
    QButtonGroup* after_ = nullptr;
    QGroupBox* countBox_ = nullptr;
    // The captions that name the mode, as they read in delete mode.
    std::vector<std::pair<QWidget*, QString>> modeCaptions_;
};

}  // namespace soramine::gui
