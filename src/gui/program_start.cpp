#include "gui/program_start.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "core/methods/method_list.h"
#include "gui/qt_translations.h"
#include "gui/ui_font.h"

namespace soramine::gui {

ProgramStart::ProgramStart(FontConfigPreload& fonts)
    : session(defaultIniFile(), makeMethodTable()), storePath_(historyStorePath()) {
    session.readIni();
    histories = loadHistoryStore(storePath_);
    useJapaneseQtTexts();
    // The icon is read while the font configuration may still be loading: reading the first
    // image loads the image format plugins, which the window's first paint then finds loaded.
    QApplication::setWindowIcon(QIcon(QPixmap(QStringLiteral(":/soramine.png"))));
    fonts.wait();
    useJapaneseUiFont();
}

ProgramStart::~ProgramStart() {
    saveHistoryStore(storePath_, histories);
}

}  // namespace soramine::gui
