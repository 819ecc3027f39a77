#pragma once

// The starts of the window program that show no main window: a one-shot form, and a later
// start that hands its command line to the running instance.

#include <string>
#include <vector>

namespace soramine::gui {

class Prompts;

// Carries out a one-shot form ("C", "/h", "/r"; see core/app/one_shot.h) and shows its
// message, if any, in a message box. Returns the process's exit status.
int runOneShotForm(const std::vector<std::u16string>& args, Prompts& prompts);

// Sends the command line to the instance listening at `socketPath` (which then brings its
// window to the front), waiting a few seconds for one that is still starting. Needs no
// application object unless an argument cannot be sent, which is then said in a message box.
// Returns the process's exit status.
int forwardToRunningInstance(const std::u16string& socketPath, const std::u16string& program,
                             const std::vector<std::u16string>& args, int& argc, char** argv);

}  // namespace soramine::gui
