#include "gui/pages/mp3_tag_page_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/methods/mp3_tags.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_test_support.h"

using soramine::Mp3TagPage;
using soramine::gui::HistoryComboBox;
using soramine::gui::Mp3TagPageWidget;
using soramine::gui::qs;
using soramine::testing::clickButton;
using soramine::testing::MessageCatcher;
using soramine::testing::named;
using soramine::testing::typeText;

class Mp3TagPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void fixedValuesServeTheNameToTagsDirection();
    void labelsInsertTheirTokens();
    void formatLosesForbiddenCharacters();

  private:
    HistoryComboBox* format() { return named<HistoryComboBox>(page_, "形式(M):"); }

    std::unique_ptr<soramine::testing::PageUnderTest<Mp3TagPage, Mp3TagPageWidget>> test_;
    Mp3TagPage* core_ = nullptr;
    Mp3TagPageWidget* page_ = nullptr;
};

void Mp3TagPageTest::init() {
    test_ = std::make_unique<soramine::testing::PageUnderTest<Mp3TagPage, Mp3TagPageWidget>>(4);
    core_ = test_->core;
    page_ = &test_->page;
    page_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page_));
}

void Mp3TagPageTest::fixedValuesServeTheNameToTagsDirection() {
    auto* artistBox = named<QCheckBox>(page_, "アーティスト名(I)");
    auto* albumBox = named<QCheckBox>(page_, "アルバム名(J)");
    auto* genreBox = named<QCheckBox>(page_, "ジャンル(L)");
    auto* artist = named<QLineEdit>(page_, "アーティスト名");
    auto* album = named<QLineEdit>(page_, "アルバム名");
    auto* genre = named<QComboBox>(page_, "ジャンル");
    QVERIFY(named<QRadioButton>(page_, "タグからファイル名を変更(E)")->isChecked());
    QCOMPARE(format()->currentText(), QStringLiteral("$N-[$T]($L)_$A"));
    QCOMPARE(artist->text(), QStringLiteral("アーティスト名"));
    QCOMPARE(album->text(), QStringLiteral("アルバム名"));
    QCOMPARE(genre->count(), 148);
    QCOMPARE(genre->itemText(147), QStringLiteral("Synthpop"));
    for (QWidget* w :
         std::initializer_list<QWidget*>{artistBox, albumBox, genreBox, artist, album, genre})
        QVERIFY(!w->isEnabled());

    clickButton(named<QRadioButton>(page_, "ファイル名からタグを変更(H)"));
    QVERIFY(artistBox->isEnabled() && albumBox->isEnabled() && genreBox->isEnabled());
    QVERIFY(!artist->isEnabled() && !album->isEnabled() && !genre->isEnabled());
    clickButton(artistBox);
    clickButton(genreBox);
    QVERIFY(artist->isEnabled() && !album->isEnabled() && genre->isEnabled());
    soramine::testing::saveScreenshot(page_, QStringLiteral("mp3_tag_page"));

    // The genre list by keys, the artist typed.
    genre->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    artist->selectAll();
    typeText(artist, "歌手");
    page_->takeSettings();
    QCOMPARE(core_->settings.direction, 1);
    QCOMPARE(core_->settings.fixedArtist, 1);
    QCOMPARE(core_->settings.fixedAlbum, 0);
    QCOMPARE(core_->settings.fixedGenre, 1);
    QCOMPARE(core_->settings.genre, 147);
    QCOMPARE(qs(core_->settings.artistText), QStringLiteral("歌手"));

    // Values loaded from a settings file show with their enabling.
    core_->settings = {0, 1, 1, 1, 3, u"a", u"b"};
    page_->showSettings();
    QVERIFY(!artistBox->isEnabled() && !artist->isEnabled());
    QCOMPARE(genre->currentText(), QStringLiteral("Dance"));
}

void Mp3TagPageTest::labelsInsertTheirTokens() {
    format()->clearEditText();
    typeText(format(), "ab");
    format()->lineEdit()->setCursorPosition(1);
    named<QRadioButton>(page_, "タグからファイル名を変更(E)")->setFocus();
    const auto tokenButton = [this](const QString& caption) {
        for (auto* b : page_->findChildren<QPushButton*>()) {
            if (b->text() == caption)
                return b;
        }
        return static_cast<QPushButton*>(nullptr);
    };
    QTest::mouseClick(tokenButton(QStringLiteral("トラック名 = $T")), Qt::LeftButton);
    QCOMPARE(format()->currentText(), QStringLiteral("a$Tb"));
    QCOMPARE(format()->lineEdit()->cursorPosition(), 4);
    QVERIFY(format()->hasFocus());
    QTest::mouseClick(tokenButton(QStringLiteral("トラック番号 = $N")), Qt::LeftButton);
    QCOMPARE(format()->currentText(), QStringLiteral("a$Tb$N"));
    page_->takeSettings();
    QCOMPARE(qs(core_->format.text), QStringLiteral("a$Tb$N"));
}

void Mp3TagPageTest::formatLosesForbiddenCharacters() {
    format()->clearEditText();
    MessageCatcher catcher;
    typeText(format(), "$N?\\$T");
    QCOMPARE(format()->currentText(), QStringLiteral("$N\\$T"));
    QCOMPARE(
        catcher.messages,
        QStringList{QStringLiteral("エラー: ファイル名に \"/ ? * \" < > | : \" は使えません")});
}

QTEST_MAIN(Mp3TagPageTest)
#include "mp3_tag_page_test.moc"
