// soramine: the main window over the rename engine.

#include <QApplication>
#include <vector>

#include "gui/font_preload.h"
#include "gui/main_window.h"
#include "gui/program_start.h"
#include "gui/prompts.h"
#include "gui/qt_text.h"

int main(int argc, char** argv) {
    soramine::gui::FontConfigPreload fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("soramine"));
    using namespace soramine;

    gui::ProgramStart start(fonts);
    std::vector<std::u16string> args;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        args.push_back(gui::corePath(arguments[i]));

    // Ends before `start`: the window writes its settings and fills the histories as it
    // closes, then `start` writes the histories.
    gui::DialogPrompts prompts;
    gui::MainWindow window(start.session, start.histories, prompts);
    window.show();
    window.handleCommandLine(args);
    return QApplication::exec();
}
