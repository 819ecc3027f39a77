#include "gui/list_columns.h"

#include <QFontDatabase>

#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

constexpr ListColumn kName{u"ファイル名", u"ファイル名", 195, ItemTable::kName};
constexpr ListColumn kNewNames{u"変更後", u"変更後", 195, std::nullopt, false, true};
constexpr ListColumn kFolder{u"フォルダ名", u"フォルダ名", 104, ItemTable::kFolder};
constexpr ListColumn kCreated{u"作成日時", u"作成日時", 180, ItemTable::kCreated};
constexpr ListColumn kModified{u"更新日時", u"更新日時", 180, ItemTable::kModified};
constexpr ListColumn kSize{u"ファイルサイズ", u"ファイルサイズ", 120, ItemTable::kSize, true};
constexpr ListColumn kSortMenu{u"▼", u"", 31, std::nullopt};

constexpr std::u16string_view kNewNamesShownKey = u"変更後表示";

}  // namespace

std::vector<ListColumn> shownColumns(const DetailSettings& detail, bool newNames) {
    std::vector<ListColumn> columns{kName};
    if (newNames)
        columns.push_back(kNewNames);
    columns.push_back(kFolder);
    if (detail.showCreatedColumn)
        columns.push_back(kCreated);
    if (detail.showModifiedColumn)
        columns.push_back(kModified);
    if (detail.showSizeColumn)
        columns.push_back(kSize);
    columns.push_back(kSortMenu);
    return columns;
}

int readColumnWidth(const IniFile& ini, const ListColumn& column) {
    if (column.widthKey.empty())
        return column.defaultWidth;
    return ini.readInt(kListSection, column.widthKey, column.defaultWidth);
}

void writeColumnWidth(IniFile& ini, const ListColumn& column, int width) {
    if (!column.widthKey.empty())
        ini.writeInt(kListSection, column.widthKey, width);
}

bool readNewNamesShown(const IniFile& ini) {
    return ini.readInt(kListSection, kNewNamesShownKey, 0) != 0;
}

void writeNewNamesShown(IniFile& ini, bool shown) {
    ini.writeInt(kListSection, kNewNamesShownKey, shown ? 1 : 0);
}

QFont inListFontFamily(QFont base, const DetailSettings& detail) {
    // The font database is asked once per name: each question costs it a fontconfig
    // substitution, and the list and every page ask for several boxes.
    static QString askedFamily;
    static bool installed = false;
    const QString family = qs(detail.fontName);
    if (family != askedFamily) {
        installed = QFontDatabase::hasFamily(family);
        askedFamily = family;
    }
    if (installed)
        base.setFamily(family);
    return base;
}

}  // namespace soramine::gui
