#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/app/ini_table.h"

namespace soramine {

// The main window's options, INI section "メイン".
struct MainSettings {
    std::int32_t selectedOnly;    // "選択項目": rename selected rows only
    std::int32_t autoAvoid;       // "自動回避": automatic collision avoidance
    std::int32_t subfolders;      // "サブフォルダ"
    std::int32_t importMode;      // "取り込み方式": 0 new, 1 add
    std::int32_t methodIndex;     // "リネーム方式"
    std::int32_t backup;          // "バックアップ"
    std::int32_t folderMode;      // "フォルダモード"
    std::int32_t folderCreation;  // "フォルダ作成"
    std::int32_t moveAfter;       // "移動"
    std::int32_t copyAfter;       // "コピー"
    std::u16string destination;   // "移動先": last folder for move or copy after renaming
    std::u16string folderCreationParent;  // "フォルダ作成先"
    // "入れ替え": a run may give an item the old name of another item of the same run
    // (swaps, shifts, cycles; engine/rename_plan.h). Not kept in saved-settings files.
    std::int32_t allowSwaps;
};

inline constexpr std::u16string_view kMainSection = u"メイン";
std::span<const IniField<MainSettings>> mainSettingsFields();

MainSettings defaultMainSettings();
MainSettings readMainSettings(const IniFile& ini);
void writeMainSettings(IniFile& ini, const MainSettings& s);
// Writes only the text key of `member` ("移動先", "フォルダ作成先").
void writeMainText(IniFile& ini, std::u16string MainSettings::*member, std::u16string_view value);
// Writes only "移動先", the folder last chosen for moving or copying after a run.
void writeDestination(IniFile& ini, std::u16string_view destination);

// The window placements, INI section "ウインドウ".
inline constexpr std::u16string_view kWindowSection = u"ウインドウ";
// Removes the keys of the window position that earlier versions kept ("MAX", "LEFT",
// "RIGHT", "TOP", "BOTTOM"); called at every start.
void deleteObsoleteWindowKeys(IniFile& ini);

}  // namespace soramine
