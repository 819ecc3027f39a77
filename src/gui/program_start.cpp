#include "gui/program_start.h"

#include "core/methods/method_list.h"
#include "gui/ui_font.h"

namespace soramine::gui {

ProgramStart::ProgramStart(FontConfigPreload& fonts)
    : session(defaultIniFile(), makeMethodTable()), storePath_(historyStorePath()) {
    session.readIni();
    histories = loadHistoryStore(storePath_);
    fonts.wait();
    useJapaneseUiFont();
}

ProgramStart::~ProgramStart() {
    saveHistoryStore(storePath_, histories);
}

}  // namespace soramine::gui
