#pragma once

#include <string>
#include <vector>

namespace soramine::cli {

// Each command gets its arguments after the command word and returns the exit status:
// 0 done, 1 done with items that failed, 2 could not start (usage, unreadable input).
using Args = std::vector<std::string>;

int runList(const Args& args);
// The commands over a saved-settings file (a job) and the undo of the last run.
int runPreview(const Args& args);
int runRun(const Args& args);
int runUndo(const Args& args);
int runMakeJob(const Args& args);
int runShowJob(const Args& args);
// The list export of a "テキスト" job.
int runExport(const Args& args);
// Folder creation ("フォルダ作成") named by a job's method.
int runMakeFolders(const Args& args);
// The one-shot forms "C A B", "/h /c|/m|/s PATH" and "/r N PATH": unlike the commands, it
// gets the form word too. 0 done, 1 the rename failed (nothing lost), 2 wrong arguments.
int runOneShot(const Args& argsIncludingFormWord);

}  // namespace soramine::cli
