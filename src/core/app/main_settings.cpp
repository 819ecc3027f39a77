#include "core/app/main_settings.h"

#include "core/app/ini_file.h"

namespace soramine {
namespace {

using M = MainSettings;

// "C:\" means nothing here: both folders start at the root of the file system.
constexpr std::u16string_view kDefaultFolder = u"/";

// The two history counts of this section ("フォルダ名カウント", "拡張子カウント") belong to
// the history boxes, which write them.
constexpr IniField<M> kFields[] = {
    intField(u"選択項目", &M::selectedOnly, 0),
    intField(u"自動回避", &M::autoAvoid, 0),
    intField(u"サブフォルダ", &M::subfolders, 0),
    intField(u"取り込み方式", &M::importMode, 0),
    intField(u"リネーム方式", &M::methodIndex, 0),
    intField(u"バックアップ", &M::backup, 0),
    intField(u"フォルダモード", &M::folderMode, 0),
    intField(u"フォルダ作成", &M::folderCreation, 0),
    intField(u"移動", &M::moveAfter, 0),
    intField(u"コピー", &M::copyAfter, 0),
    textField(u"移動先", &M::destination, kDefaultFolder),
    textField(u"フォルダ作成先", &M::folderCreationParent, kDefaultFolder),
    intField(u"入れ替え", &M::allowSwaps, 0),
};

}  // namespace

std::span<const IniField<MainSettings>> mainSettingsFields() {
    return kFields;
}

MainSettings defaultMainSettings() {
    MainSettings s;
    applyDefaults(mainSettingsFields(), s);
    return s;
}

MainSettings readMainSettings(const IniFile& ini) {
    MainSettings s;
    readFields(ini, kMainSection, mainSettingsFields(), s);
    return s;
}

void writeMainSettings(IniFile& ini, const MainSettings& s) {
    writeFields(ini, kMainSection, mainSettingsFields(), s);
}

void writeMainText(IniFile& ini, std::u16string M::*member, std::u16string_view value) {
    for (const auto& field : kFields) {
        if (field.text == member)
            ini.writeString(kMainSection, field.key, value);
    }
}

void writeDestination(IniFile& ini, std::u16string_view destination) {
    writeMainText(ini, &M::destination, destination);
}

void deleteObsoleteWindowKeys(IniFile& ini) {
    IniFile::Batch batch(ini);
    for (std::u16string_view key : {u"MAX", u"LEFT", u"RIGHT", u"TOP", u"BOTTOM"})
        ini.deleteKey(kWindowSection, key);
}

}  // namespace soramine
