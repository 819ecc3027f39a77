#include "gui/pages/conversion_page_widget.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "core/methods/conversion.h"
#include "gui/qt_text.h"
#include "gui_test_support.h"

using soramine::ConversionPage;
using soramine::gui::ConversionPageWidget;
using soramine::gui::qs;
using soramine::testing::clickButton;
using soramine::testing::MessageCatcher;
using soramine::testing::named;
using soramine::testing::typeText;

class ConversionPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void clickedSettingsGiveThePreview_data();
    void clickedSettingsGiveThePreview();
    void modeEnablesItsOptions();
    void fillBoxRefusesWhatCannotFill();

  private:
    QLineEdit* fill() { return named<QLineEdit>(page_, "埋める文字(V):"); }

    std::unique_ptr<soramine::testing::PageUnderTest<ConversionPage, ConversionPageWidget>> test_;
    ConversionPage* core_ = nullptr;
    ConversionPageWidget* page_ = nullptr;
};

void ConversionPageTest::init() {
    test_ =
        std::make_unique<soramine::testing::PageUnderTest<ConversionPage, ConversionPageWidget>>(
            14);
    core_ = test_->core;
    page_ = &test_->page;
}

void ConversionPageTest::clickedSettingsGiveThePreview_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("clicks");  // check boxes and sub-choices, in turn
    QTest::addColumn<QString>("fill");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("lower case with the extension")
        << "大文字を小文字に(H)" << QStringList{QStringLiteral("拡張子を無視(E)")} << QString()
        << QStringList{QStringLiteral("img_ｶﾞｲﾄﾞ.jpg"), QStringLiteral("変更無し")};
    QTest::newRow("half width to full width with katakana")
        << "半角を全角に(L)" << QStringList{QStringLiteral("カタカナ(3)")} << QString()
        << QStringList{QStringLiteral("ＩＭＧ_ガイド.JPG"), QStringLiteral("ａ.txt")};
    QTest::newRow("adjust behind with an underscore")
        << "調整(P)" << QStringList{QStringLiteral("後方(T)")} << "_"
        << QStringList{QStringLiteral("変更無し"), QStringLiteral("a________.txt")};
    QTest::newRow("capitalise with digits as word characters")
        << "先頭英字を大文字に(0)" << QStringList{QStringLiteral("英字のみ(5)")} << QString()
        << QStringList{QStringLiteral("Img_ｶﾞｲﾄﾞ.JPG"), QStringLiteral("A.txt")};
}

void ConversionPageTest::clickedSettingsGiveThePreview() {
    QFETCH(QString, mode);
    QFETCH(QStringList, clicks);
    QFETCH(QString, fill);
    QFETCH(QStringList, expected);
    clickButton(named<QRadioButton>(page_, mode));
    for (const QString& click : clicks)
        clickButton(named<QAbstractButton>(page_, click));
    if (!fill.isEmpty()) {
        this->fill()->selectAll();
        typeText(this->fill(), fill);
    }
    page_->takeSettings();
    const QStringList names{QStringLiteral("IMG_ｶﾞｲﾄﾞ.JPG"), QStringLiteral("a.txt")};
    QCOMPARE(soramine::testing::previewNames(*test_->session, 14, names), expected);
    if (QTest::currentDataTag() == QByteArrayLiteral("adjust behind with an underscore"))
        soramine::testing::saveScreenshot(page_, QStringLiteral("conversion_page"));
}

void ConversionPageTest::modeEnablesItsOptions() {
    auto* lettersOnly = named<QCheckBox>(page_, "英字のみ(5)");
    auto* katakana = named<QCheckBox>(page_, "カタカナ(3)");
    auto* behind = named<QRadioButton>(page_, "後方(T)");
    QVERIFY(!lettersOnly->isEnabled() && !katakana->isEnabled() && !behind->isEnabled() &&
            !fill()->isEnabled());
    const struct {
        const char* mode;
        bool letters, classes, padding;
    } cases[] = {
        {"先頭英字を大文字に(0)", true, false, false}, {"全角を半角に(J)", false, true, false},
        {"半角を全角に(L)", false, true, false},       {"調整(P)", false, false, true},
        {"左右逆転(M)", false, false, false},
    };
    for (const auto& c : cases) {
        clickButton(named<QRadioButton>(page_, QString::fromUtf8(c.mode)));
        QCOMPARE(lettersOnly->isEnabled(), c.letters);
        QCOMPARE(katakana->isEnabled(), c.classes);
        QCOMPARE(behind->isEnabled(), c.padding);
        QCOMPARE(fill()->isEnabled(), c.padding);
    }
}

void ConversionPageTest::fillBoxRefusesWhatCannotFill() {
    clickButton(named<QRadioButton>(page_, "調整(P)"));
    QCOMPARE(fill()->text(), QStringLiteral("0"));
    fill()->selectAll();
    MessageCatcher catcher;
    typeText(fill(), "12");
    QCOMPARE(fill()->text(), QStringLiteral("1"));
    fill()->selectAll();
    typeText(fill(), QStringLiteral("０"));
    QCOMPARE(fill()->text(), QStringLiteral("1"));
    fill()->selectAll();
    typeText(fill(), QStringLiteral("ｱ"));
    QCOMPARE(catcher.messages,
             (QStringList{QStringLiteral("エラー: 半角文字を一文字だけ入力して下さい。"),
                          QStringLiteral("エラー: 全角文字は使えません。")}));
    page_->takeSettings();
    QCOMPARE(qs(core_->settings.fill), QStringLiteral("ｱ"));
}

QTEST_MAIN(ConversionPageTest)
#include "conversion_page_test.moc"
