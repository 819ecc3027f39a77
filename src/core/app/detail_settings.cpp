#include "core/app/detail_settings.h"

namespace soramine {
namespace {

using D = DetailSettings;

constexpr IniField<D> kFields[] = {
    intField(u"読み取り", &D::importReadOnly, 1),
    intField(u"システム", &D::importSystem, 0),
    intField(u"隠し", &D::importHidden, 0),
    intField(u"チップ", &D::toolTips, 1),
    intField(u"すぐ", &D::importAtOnce, 0),
    intField(u"ソート", &D::sortOnImport, 0),
    intField(u"禁則文字", &D::fullWidthForbidden, 0),
    intField(u"起動時", &D::checkAtStart, 0),
    intField(u"更新日時", &D::showCreatedColumn, 0),  // crossed on purpose, see the header
    intField(u"作成日時", &D::showModifiedColumn, 0),
    intField(u"ファイルサイズ", &D::showSizeColumn, 0),
    intField(u"ログ", &D::showLog, 0),
    textField(u"フォント名", &D::fontName, u"ＭＳ ゴシック"),
    intField(u"コンボマックス", &D::historyLimit, 10),
};

}  // namespace

std::span<const IniField<DetailSettings>> detailSettingsFields() {
    return kFields;
}

DetailSettings defaultDetailSettings() {
    DetailSettings s;
    applyDefaults(detailSettingsFields(), s);
    return s;
}

DetailSettings readDetailSettings(const IniFile& ini) {
    DetailSettings s;
    readFields(ini, kDetailSection, detailSettingsFields(), s);
    return s;
}

void writeDetailSettings(IniFile& ini, const DetailSettings& s) {
    writeFields(ini, kDetailSection, detailSettingsFields(), s);
}

DetailSettings detailDialogValues(const DetailSettings& stored, const DetailSettings& running) {
    DetailSettings s = stored;
    s.historyLimit = running.historyLimit;
    return s;
}

DetailSettings appliedAtOnce(const DetailSettings& running, const DetailSettings& confirmed) {
    DetailSettings s = confirmed;
    s.showCreatedColumn = running.showCreatedColumn;
    s.showModifiedColumn = running.showModifiedColumn;
    s.showSizeColumn = running.showSizeColumn;
    s.fontName = running.fontName;
    return s;
}

}  // namespace soramine
