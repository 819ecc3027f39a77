// soramine-window: the main window over the rename engine (started by soramine, launcher.cpp).

#include <QApplication>
#include <optional>
#include <vector>

#include "core/app/one_shot.h"
#include "core/app/update_check.h"
#include "core/platform/instance.h"
#include "core/platform/locked_file.h"
#include "core/text/utf.h"
#include "gui/command_line_forms.h"
#include "gui/font_preload.h"
#include "gui/instance_server.h"
#include "gui/main_window.h"
#include "gui/program_start.h"
#include "gui/prompts.h"
#include "gui/qt_text.h"
#include "gui/qt_translations.h"
#include "gui/update_checker.h"

int main(int argc, char** argv) {
    using namespace soramine;
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(text::fromUtf8(argv[i]));

    if (app::isOneShot(args)) {
        QApplication app(argc, argv);
        gui::useJapaneseQtTexts();
        gui::DialogPrompts prompts;
        return gui::runOneShotForm(args, prompts);
    }
    // A later start hands its command line to the first instance before it loads anything of
    // the window.
    const auto instance = platform::instancePaths();
    std::optional<platform::InstanceLock> lock;
    if (instance) {
        auto acquired = platform::InstanceLock::acquire(instance->lock);
        if (acquired)
            lock.emplace(std::move(*acquired));
        else if (platform::isLockHeld(acquired.error()))
            return gui::forwardToRunningInstance(instance->socket, text::fromUtf8(argv[0]), args,
                                                 argc, argv);
    }

    gui::FontConfigPreload fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("soramine"));
    // The installed menu entry's name, which Wayland desktops match the window to.
    QApplication::setDesktopFileName(QStringLiteral("org.example.soramine"));
    gui::InstanceServer server;
    if (lock)
        server.listen(gui::localPath(instance->socket));

    gui::ProgramStart start(fonts);
    // Ends before `start`: the window writes its settings and fills the histories as it
    // closes, then `start` writes the histories.
    gui::DialogPrompts prompts;
    gui::MainWindow window(start.session, start.histories, prompts);
    QObject::connect(&server, &gui::InstanceServer::commandReceived, &window,
                     &gui::MainWindow::receiveForwarded);
    if (start.session.detail.checkAtStart)
        gui::startUpdateCheck(false, app::readUpdateAddresses(start.session.ini), prompts, &window);
    window.show();
    window.offerUnfinishedUndo();
    window.handleCommandLine(args);
    const int status = QApplication::exec();
    gui::waitForChecks();
    return status;
}
