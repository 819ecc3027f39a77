#pragma once

#include <QString>
#include <optional>

#include "core/base/message.h"

class QWidget;

namespace soramine::gui {

// The questions and messages of the main window: message boxes and file dialogs. Tests
// answer them from a script instead, so that a whole road runs without anyone clicking.
class Prompts {
  public:
    virtual ~Prompts() = default;
    // Yes/No (the question's caption, normally "確認"); true for Yes.
    virtual bool askYesNo(QWidget* parent, const Message& question) = 0;
    virtual void showMessage(QWidget* parent, const Message& message) = 0;
    // A folder, starting at `start`; nothing when cancelled.
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                                const QString& start) = 0;
    // A saved-settings file to open or to save to ("ソラミネ ファイル(*.qrn)").
    virtual std::optional<QString> openSettingsFile(QWidget* parent) = 0;
    virtual std::optional<QString> saveSettingsFile(QWidget* parent) = 0;
};

// The real dialogs.
class DialogPrompts final : public Prompts {
  public:
    bool askYesNo(QWidget* parent, const Message& question) override;
    void showMessage(QWidget* parent, const Message& message) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& start) override;
    std::optional<QString> openSettingsFile(QWidget* parent) override;
    std::optional<QString> saveSettingsFile(QWidget* parent) override;
};

}  // namespace soramine::gui
