// soramine: the main window over the rename engine.

#include <QApplication>
#include <vector>

#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "core/settings/history_store.h"
#include "gui/font_preload.h"
#include "gui/main_window.h"
#include "gui/prompts.h"
#include "gui/qt_text.h"
#include "gui/ui_font.h"

int main(int argc, char** argv) {
    soramine::gui::FontConfigPreload fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("soramine"));
    using namespace soramine;

    RenameSession session(defaultIniFile(), makeMethodTable());
    session.readIni();
    const std::u16string storePath = historyStorePath();
    HistoryMap histories = loadHistoryStore(storePath);
    fonts.wait();
    gui::useJapaneseUiFont();
    std::vector<std::u16string> args;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        args.push_back(gui::corePath(arguments[i]));

    int status = 0;
    {
        gui::DialogPrompts prompts;
        gui::MainWindow window(session, histories, prompts);
        window.show();
        window.handleCommandLine(args);
        status = QApplication::exec();
    }  // the window writes its settings and fills the histories as it closes
    saveHistoryStore(storePath, histories);
    return status;
}
