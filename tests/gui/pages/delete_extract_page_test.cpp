#include "gui/pages/delete_extract_page_widget.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "core/methods/delete_extract.h"
#include "gui/qt_text.h"
#include "gui_test_support.h"

using soramine::DeleteExtractPage;
using soramine::gui::DeleteExtractPageWidget;
using soramine::gui::qs;
using soramine::testing::clickButton;
using soramine::testing::named;
using soramine::testing::typeText;

class DeleteExtractPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void typedSettingsGiveThePreview_data();
    void typedSettingsGiveThePreview();
    void captionsFollowTheMode();
    void positionEnablesItsControls();

  private:
    void retype(const QString& name, const QString& text) {
        auto* edit = named<QLineEdit>(page_, name);
        edit->selectAll();
        typeText(edit, text);
    }

    std::unique_ptr<soramine::testing::PageUnderTest<DeleteExtractPage, DeleteExtractPageWidget>>
        test_;
    DeleteExtractPage* core_ = nullptr;
    DeleteExtractPageWidget* page_ = nullptr;
};

void DeleteExtractPageTest::init() {
    test_ = std::make_unique<
        soramine::testing::PageUnderTest<DeleteExtractPage, DeleteExtractPageWidget>>(3);
    core_ = test_->core;
    page_ = &test_->page;
}

void DeleteExtractPageTest::typedSettingsGiveThePreview_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("sub");    // the sub-choice clicked under the position, if any
    QTest::addColumn<QString>("typed");  // the position or the given text
    QTest::addColumn<QStringList>("expected");
    const QStringList names{QStringLiteral("IMG_1234.JPG"), QStringLiteral("abc.txt")};
    QTest::newRow("delete from the head")
        << "削除(E)"
        << "2"
        << "先頭から削除(L)" << QString() << QString()
        << QStringList{QStringLiteral("G_1234.JPG"), QStringLiteral("c.txt")};
    QTest::newRow("extract from the tail")
        << "抽出(H)"
        << "3"
        << "末尾から抽出(M)" << QString() << QString()
        << QStringList{QStringLiteral("234.JPG"), QStringLiteral("変更無し")};
    QTest::newRow("delete from a position counted from the tail")
        << "削除(E)"
        << "1"
        << "指定の位置から削除(P)"
        << "末尾から(T)"
        << "2" << QStringList{QStringLiteral("IMG_124.JPG"), QStringLiteral("ac.txt")};
    QTest::newRow("extract after a given text")
        << "抽出(H)"
        << "2"
        << "指定の文字から抽出(0)"
        << "後方(2)"
        << "_"
        << QStringList{QStringLiteral("12.JPG"), QStringLiteral("指定の文字が見つかりません")};
    QTest::newRow("too many characters")
        << "削除(E)"
        << "4"
        << "先頭から削除(L)" << QString() << QString()
        << QStringList{QStringLiteral("1234.JPG"), QStringLiteral("削除文字数が多すぎます")};
}

void DeleteExtractPageTest::typedSettingsGiveThePreview() {
    QFETCH(QString, mode);
    QFETCH(QString, count);
    QFETCH(QString, where);
    QFETCH(QString, sub);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    clickButton(named<QRadioButton>(page_, mode));
    retype(QString::fromUtf8(core_->settings.mode ? "抽出する文字数(I):" : "削除する文字数(I):"),
           count);
    clickButton(named<QRadioButton>(page_, where));
    if (!sub.isEmpty())
        clickButton(named<QRadioButton>(page_, sub));
    if (core_->settings.where == 2)
        retype(QStringLiteral("文字目以降(V):"), typed);
    if (core_->settings.where == 3)
        retype(QStringLiteral("指定文字"), typed);
    page_->takeSettings();
    const QStringList names{QStringLiteral("IMG_1234.JPG"), QStringLiteral("abc.txt")};
    QCOMPARE(soramine::testing::previewNames(*test_->session, 3, names), expected);
    if (QTest::currentDataTag() == QByteArrayLiteral("extract after a given text"))
        soramine::testing::saveScreenshot(page_, QStringLiteral("delete_extract_page"));
}

void DeleteExtractPageTest::captionsFollowTheMode() {
    clickButton(named<QRadioButton>(page_, "抽出(H)"));
    QCOMPARE(core_->settings.mode, 1);
    for (const char* caption :
         {"先頭から抽出(L)", "末尾から抽出(M)", "指定の位置から抽出(P)", "指定の文字から抽出(0)"})
        QVERIFY(named<QRadioButton>(page_, QString::fromUtf8(caption)));
    QVERIFY(named<QLineEdit>(page_, "抽出する文字数(I):"));
    bool titled = false;
    for (QGroupBox* group : page_->findChildren<QGroupBox*>())
        titled |= group->title() == QStringLiteral("抽出文字設定");
    QVERIFY(titled);

    // Loaded settings show their captions too.
    core_->settings.mode = 0;
    page_->showSettings();
    QVERIFY(named<QRadioButton>(page_, "先頭から削除(L)")->isChecked());
    QVERIFY(named<QLineEdit>(page_, "削除する文字数(I):"));
}

void DeleteExtractPageTest::positionEnablesItsControls() {
    auto* fromTail = named<QRadioButton>(page_, "末尾から(T)");
    auto* position = named<QLineEdit>(page_, "文字目以降(V):");
    auto* given = named<QLineEdit>(page_, "指定文字");
    auto* after = named<QRadioButton>(page_, "後方(2)");
    QCOMPARE(given->text(), QStringLiteral("@"));
    QVERIFY(!fromTail->isEnabled() && !position->isEnabled() && !given->isEnabled() &&
            !after->isEnabled());
    clickButton(named<QRadioButton>(page_, "指定の位置から削除(P)"));
    QVERIFY(fromTail->isEnabled() && position->isEnabled() && !given->isEnabled());
    clickButton(named<QRadioButton>(page_, "指定の文字から削除(0)"));
    QVERIFY(!fromTail->isEnabled() && !position->isEnabled() && given->isEnabled() &&
            after->isEnabled());
    clickButton(named<QRadioButton>(page_, "末尾から削除(M)"));
    QVERIFY(!given->isEnabled() && !position->isEnabled());
}

QTEST_MAIN(DeleteExtractPageTest)
#include "delete_extract_page_test.moc"
