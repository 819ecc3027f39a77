#include "gui/ui_font.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTest>

using soramine::gui::useJapaneseUiFont;

namespace {

// An installed family of the given kind, or an empty name.
QString installedFamily(bool withJapanese) {
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese) == withJapanese)
            return family;
    }
    return {};
}

}  // namespace

class UiFontTest : public QObject {
    Q_OBJECT
  private slots:
    void latinDesktopFontGivesWayToAJapaneseOne();
    void japaneseDesktopFontStays();

  private:
    QFont desktopFont(const QString& family) {
        QFont font(family, 11);
        font.setItalic(true);
        QApplication::setFont(font);
        return font;
    }
};

void UiFontTest::latinDesktopFontGivesWayToAJapaneseOne() {
    const QString latin = installedFamily(false);
    if (latin.isEmpty() || installedFamily(true).isEmpty())
        QSKIP("needs a Latin and a Japanese font");
    desktopFont(latin);
    useJapaneseUiFont();
    const QFont font = QApplication::font();
    QVERIFY(QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::Japanese));
    QVERIFY(!QFontDatabase::isFixedPitch(font.family()));
    // Size and style stay the desktop's; the substitute is drawn unhinted.
    QCOMPARE(font.pointSize(), 11);
    QVERIFY(font.italic());
    QCOMPARE(font.hintingPreference(), QFont::PreferNoHinting);
}

void UiFontTest::japaneseDesktopFontStays() {
    const QString japanese = installedFamily(true);
    if (japanese.isEmpty())
        QSKIP("needs a Japanese font");
    const QFont desktop = desktopFont(japanese);
    useJapaneseUiFont();
    QCOMPARE(QApplication::font(), desktop);
    QCOMPARE(QApplication::font().hintingPreference(), QFont::PreferDefaultHinting);
}

QTEST_MAIN(UiFontTest)
#include "ui_font_test.moc"
