#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "core/app/main_settings.h"
#include "core/base/expected.h"
#include "core/settings/settings_file.h"

namespace soramine {
class RenameSession;
}

namespace soramine::cli {

// What preview and run take besides the job file.
struct JobRequest {
    std::u16string path;                       // the saved-settings file
    std::optional<std::u16string> folder;      // --folder: replaces the stored folder text
    std::optional<std::u16string> extension;   // --ext: replaces the stored extension text
    std::optional<std::string> rows;           // --rows: the 1-based rows that count as selected
    std::optional<std::string> clipboardFile;  // --clipboard-file: the clipboard's text
    bool allowSwaps = false;                   // --allow-swaps: the job's "入れ替え"
    // --rows selects rows whatever the job's "選択項目" (the list export's own option)
    bool rowsForAnyJob = false;
};

// The switch that lets a job's items take each other's names (swaps, shifts, cycles). Jobs do
// not store it, and the window's setting does not count, so that a job renames alike wherever
// it runs.
inline constexpr std::string_view kAllowSwapsOption = "--allow-swaps";

// The value options preview and run share, and `more` of a command's own.
std::vector<std::string_view> jobOptions(std::vector<std::string_view> more = {});

// The request in a parsed command line: exactly one job file and the shared options.
Expected<JobRequest, std::u16string> jobRequest(const CommandLine& line);

// Takes the job's options and page settings into `session` as startJob does, without
// importing anything (folder creation needs no items). Prints why it cannot and gives
// nothing.
std::optional<SavedSettings> loadJob(const JobRequest& request, RenameSession& session);

// Makes `session` ready for a run of the job: its ten options over the user's main settings,
// its page block into its method's page (the user's page settings are not read: the job
// holds them), the detailed settings from the user's INI file; then the items of its folder,
// imported as the import button imports them into an empty list, and the --rows selection.
// Prints why the job cannot start and returns false.
bool startJob(const JobRequest& request, RenameSession& session);

// The main options a job file stores besides the method, by their INI key names ("選択項目",
// "自動回避", ...), in the settings file's key order: the flags of make-job and show-job.
std::vector<IniField<MainSettings>> jobFlagFields();

}  // namespace soramine::cli
