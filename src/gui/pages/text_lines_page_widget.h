#pragma once

#include "core/engine/session.h"
#include "core/methods/text_lines.h"
#include "gui/pages/method_page_widget.h"

class QPushButton;

namespace soramine::gui {

class HistoryComboBox;
class PageForm;

// "テキスト": names from the lines of a text file or of the clipboard, and the export of the
// list's names to a text file or to the clipboard.
class TextLinesPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    TextLinesPageWidget(soramine::TextLinesPage& page, soramine::RenameSession& session,
                        QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The path box and its "..." work only while the lines come from a text file.
    void applyEnabling();
    void browse();
    void exportList();

    soramine::TextLinesPage& page_;
    soramine::RenameSession& session_;
    PageForm* form_;
    HistoryComboBox* path_ = nullptr;
    QPushButton* browse_ = nullptr;
};

}  // namespace soramine::gui
