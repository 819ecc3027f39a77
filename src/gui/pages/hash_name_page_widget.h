#pragma once

#include "core/engine/session.h"
#include "core/methods/hash_name.h"
#include "gui/pages/method_page_widget.h"

namespace soramine::gui {

class PageForm;

// "ハッシュ": names files after the digest of their content, or adds the digest to the name.
class HashNamePageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    HashNamePageWidget(soramine::HashNamePage& page, soramine::RenameSession& session,
                       QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    PageForm* form_;
};

}  // namespace soramine::gui
