#pragma once

#include "core/engine/session.h"
#include "core/methods/mp3_tags.h"
#include "gui/pages/method_page_widget.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace soramine::gui {

class HistoryComboBox;
class PageForm;

// "MP3": names from the files' ID3 tags by a format, or the names' pieces written into the tags.
class Mp3TagPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    Mp3TagPageWidget(soramine::Mp3TagPage& page, soramine::RenameSession& session, QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    // The fixed values serve the name-to-tags direction only, each while its box is checked.
    void applyEnabling();
    // Puts `token` into the format at the caret, then gives the format box the focus with the
    // caret at the end.
    void insertToken(const QString& token);

    soramine::Mp3TagPage& page_;
    PageForm* form_;
    HistoryComboBox* format_ = nullptr;
    QButtonGroup* direction_ = nullptr;
    QCheckBox* fixedArtist_ = nullptr;
    QCheckBox* fixedAlbum_ = nullptr;
    QCheckBox* fixedGenre_ = nullptr;
    QLineEdit* artist_ = nullptr;
    QLineEdit* album_ = nullptr;
    QComboBox* genre_ = nullptr;
};

}  // namespace soramine::gui
