#pragma once

#include "core/engine/session.h"
#include "core/methods/random_name.h"
#include "gui/pages/method_page_widget.h"

class QCheckBox;
class QPushButton;

namespace soramine::gui {

class HistoryComboBox;
class PageForm;

// "ランダム": random characters of chosen classes, or random words from a text file.
class RandomNamePageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    RandomNamePageWidget(soramine::RandomNamePage& page, soramine::RenameSession& session,
                         QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    // 文字列 on: the words file box and its browse button serve; off: the character classes.
    void applyEnabling();
    // The three classes cannot all be cleared: clearing the last one is undone with a message.
    void keepOneClass(QCheckBox* cleared);
    void browse();

    soramine::RandomNamePage& page_;
    PageForm* form_;
    QCheckBox* classes_[3] = {};
    HistoryComboBox* wordsFile_ = nullptr;
    QPushButton* browse_ = nullptr;
};

}  // namespace soramine::gui
