#pragma once

#include <atomic>
#include <string>

namespace soramine::platform {

// The folder that holds the running program, ending in the separator.
std::u16string executableFolder();
// Where the INI file and the history store live: the executable's folder when a writable
// "ソラミネ.ini" stands there (portable use), else $XDG_CONFIG_HOME/soramine/ (or
// HOME/.config/soramine/, with the home folder from $HOME or the user database), created when
// missing. Ends in the separator.
std::u16string settingsFolder();

bool stderrIsTerminal();
// Ctrl-C (SIGINT) sets `flag` instead of ending the process; a second Ctrl-C ends it.
void setInterruptFlag(std::atomic<bool>* flag);

// For a process that builds large tables once and then ends: memory it frees stays in its
// heap for its later allocations instead of going back to the system, so that each page is
// faulted in once (on a virtual machine every first touch of a page is costly).
void keepFreedMemory();

}  // namespace soramine::platform
