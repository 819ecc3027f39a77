#include "gui/command_line_forms.h"

#include <QApplication>

#include "core/app/forwarded_command.h"
#include "core/app/one_shot.h"
#include "core/platform/instance.h"
#include "gui/message_box.h"
#include "gui/prompts.h"

namespace soramine::gui {

int runOneShotForm(const std::vector<std::u16string>& args, Prompts& prompts) {
    const app::OneShotOutcome outcome = app::runOneShot(args);
    if (outcome.message)
        prompts.showMessage(nullptr, *outcome.message);
    switch (outcome.status) {
        case app::OneShotStatus::Done:
            return 0;
        case app::OneShotStatus::RenameFailed:
            return 1;
        case app::OneShotStatus::BadArguments:
            break;
    }
    return 2;
}

int forwardToRunningInstance(const std::u16string& socketPath, const std::u16string& program,
                             const std::vector<std::u16string>& args, int& argc, char** argv) {
    const auto command = app::forwardedCommand(program, args);
    if (!command) {
        QApplication app(argc, argv);
        showMessage(nullptr, errorMessage(u"ダブルクォート(\")を含むパスは、起動中のソラミネへ"
                                          u"渡せません。"));
        return 2;
    }
    return platform::sendToStartingInstance(socketPath, app::encodeForwarded(*command), 5000, 5000)
               ? 0
               : 1;
}

}  // namespace soramine::gui
