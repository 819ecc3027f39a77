#pragma once

#include "core/engine/session.h"
#include "core/methods/script.h"
#include "gui/pages/method_page_widget.h"

class QPlainTextEdit;

namespace soramine::gui {

class PageForm;

// "スクリプト": a list of editing codes typed into a multi-line box, with clickable templates.
class ScriptPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    ScriptPageWidget(soramine::ScriptPage& page, soramine::RenameSession& session, QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    // Puts `text` at the caret, in place of the selection.
    void insertTemplate(const QString& text);

    soramine::ScriptPage& page_;
    PageForm* form_;
    QPlainTextEdit* script_ = nullptr;
};

}  // namespace soramine::gui
