#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/app/ini_table.h"

namespace soramine {

// The detailed settings, INI section "詳細設定".
struct DetailSettings {
    std::int32_t importReadOnly;      // "読み取り" (1)
    std::int32_t importSystem;        // "システム" (0)
    std::int32_t importHidden;        // "隠し" (0)
    std::int32_t toolTips;            // "チップ" (1)
    std::int32_t importAtOnce;        // "すぐ" (0)
    std::int32_t sortOnImport;        // "ソート" (0)
    std::int32_t fullWidthForbidden;  // "禁則文字" (0)
    std::int32_t checkAtStart;        // "起動時" (0)
    // The two date keys are crossed: "更新日時" governs the creation-time column and
    // "作成日時" the last-write-time column. Stored files rely on it.
    std::int32_t showCreatedColumn;   // key "更新日時" (0)
    std::int32_t showModifiedColumn;  // key "作成日時" (0)
    std::int32_t showSizeColumn;      // "ファイルサイズ" (0)
    std::int32_t showLog;             // "ログ" (0)
    std::u16string fontName;          // "フォント名" ("ＭＳ ゴシック")
    std::int32_t historyLimit;        // "コンボマックス" (10)
};

inline constexpr std::u16string_view kDetailSection = u"詳細設定";
std::span<const IniField<DetailSettings>> detailSettingsFields();

DetailSettings defaultDetailSettings();
DetailSettings readDetailSettings(const IniFile& ini);
void writeDetailSettings(IniFile& ini, const DetailSettings& s);

// What the detailed settings dialog opens with: the stored keys (the list columns as the next
// start will show them), with the history limit in use.
DetailSettings detailDialogValues(const DetailSettings& stored, const DetailSettings& running);
// The settings a running program uses once the dialog's values are confirmed: all of them at
// once, except the list columns and the list font, which the list takes at the next start.
DetailSettings appliedAtOnce(const DetailSettings& running, const DetailSettings& confirmed);

}  // namespace soramine
