#pragma once

#include <string>

#include "core/engine/session.h"
#include "core/settings/history_store.h"
#include "gui/font_preload.h"

namespace soramine::gui {

// What the program reads before it builds its window: the settings and the histories, while
// the font configuration is read beside them, and then the font the captions are drawn in.
// The histories are written back when this ends, after the window has filled them as it
// closed.
class ProgramStart {
  public:
    explicit ProgramStart(FontConfigPreload& fonts);
    ~ProgramStart();
    ProgramStart(const ProgramStart&) = delete;
    ProgramStart& operator=(const ProgramStart&) = delete;

    RenameSession session;
    HistoryMap histories;

  private:
    std::u16string storePath_;
};

}  // namespace soramine::gui
