#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

#include "core/app/detail_settings.h"
#include "core/app/send_to.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace soramine::gui {

class Prompts;

// "詳細設定": the detailed settings, and the two "送る" file-manager actions. It opens with
// `initial` (see detailDialogValues) and, when "設　定(&S)" closes it, values() holds what
// the user confirmed; the caller writes and applies them. It also holds a main setting of our
// own, whether the items of a run may take each other's names (`allowSwaps`). The font box shows
// the stored font, or `listFamily` (the family the list is drawn in) when the stored one is not
// installed. The actions are made or removed at once, for `program`, under the user's data folder
// `dataHome`.
class DetailSettingsDialog final : public QDialog {
    Q_OBJECT
  public:
    DetailSettingsDialog(const DetailSettings& initial, bool allowSwaps, const QString& listFamily,
                         std::u16string program, std::u16string dataHome, Prompts& prompts,
                         QWidget* parent = nullptr);

    const DetailSettings& values() const { return values_; }
    bool allowSwaps() const { return allowSwaps_; }

  private:
    std::vector<std::pair<QCheckBox*, std::int32_t DetailSettings::*>> flagBoxes() const;
    void confirm();
    void createActions();
    void deleteActions();
    // The actions whose boxes are checked.
    std::vector<app::SendToAction> checkedActions() const;

    DetailSettings values_;
    bool allowSwaps_;
    std::u16string program_;
    std::u16string dataHome_;
    Prompts& prompts_;

    QCheckBox* readOnly_;
    QCheckBox* system_;
    QCheckBox* hidden_;
    QCheckBox* importAction_;
    QCheckBox* swapAction_;
    QCheckBox* createdColumn_;
    QCheckBox* modifiedColumn_;
    QCheckBox* sizeColumn_;
    QComboBox* fonts_;
    QString fontShownFirst_;
    QCheckBox* toolTips_;
    QCheckBox* importAtOnce_;
    QCheckBox* sortOnImport_;
    QCheckBox* fullWidth_;
    QCheckBox* checkAtStart_;
    QCheckBox* showLog_;
    QCheckBox* allowSwapsBox_;
    QSpinBox* historyLimit_;
};

}  // namespace soramine::gui
