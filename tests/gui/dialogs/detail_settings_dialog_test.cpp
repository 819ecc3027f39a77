#include "gui/dialogs/detail_settings_dialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "core/app/ini_file.h"
#include "core/methods/method_list.h"
#include "gui/main_window.h"
#include "gui_fixture.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"

using namespace soramine;
using gui::DetailSettingsDialog;
using testing::named;

namespace {

struct DialogUnderTest {
    testing::TempDir home;
    testing::ScriptedPrompts prompts;
    std::unique_ptr<DetailSettingsDialog> dialog;

    explicit DialogUnderTest(const DetailSettings& initial, const QString& listFamily = {},
                             bool allowSwaps = false) {
        dialog = std::make_unique<DetailSettingsDialog>(
            initial, allowSwaps, listFamily, u"/usr/bin/soramine", home.folder(), prompts);
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }
    QCheckBox* box(const char* name) const {
        return named<QCheckBox>(dialog.get(), QString::fromUtf8(name));
    }
    QAbstractButton* button(const char* name) const {
        return named<QPushButton>(dialog.get(), QString::fromUtf8(name));
    }
};

}  // namespace

class DetailSettingsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void opensWithTheValuesItIsGiven();
    void everyControlHasItsTip();
    void confirmTakesEveryControlAndCancelNothing();
    void fileManagerActionsAreMadeAndRemoved();
    void windowWritesAndAppliesWhatIsConfirmed();
};

void DetailSettingsDialogTest::opensWithTheValuesItIsGiven() {
    const QString family = QFontDatabase::families().value(0);
    QVERIFY(!family.isEmpty());
    DetailSettings values = defaultDetailSettings();
    values.importHidden = 1;
    values.showModifiedColumn = 1;
    values.checkAtStart = 1;
    values.historyLimit = 7;
    values.fontName = gui::u16(family);
    DialogUnderTest t(values);
    QCOMPARE(t.dialog->windowTitle(), QStringLiteral("詳細設定"));
    const struct {
        const char* name;
        bool checked;
    } boxes[] = {
        {"標準ファイル", true},
        {"読み取り専用(R)", true},
        {"システムファイル(Y)", false},
        {"隠しファイル(H)", true},
        {"リストに取り込んで起動(L)", false},
        {"ファイル名の入れ替え(G)", false},
        {"作成日時(J)", false},
        {"更新日時(B)", true},
        {"ファイルサイズ(E)", false},
        {"ツールチップを表示する(T)", true},
        {"フォルダ選択で取り込む(A)", false},
        {"取り込み時にソートする(O)", false},
        {"禁則文字を全角にする(W)", false},
        {"起動時にアップデートチェック", true},
        {"変更後にログを表示する(K)", false},
        {"名前の入れ替えを許可する(I)", false},
    };
    for (const auto& b : boxes)
        QVERIFY2(t.box(b.name) && t.box(b.name)->isChecked() == b.checked, b.name);
    QVERIFY(!t.box("標準ファイル")->isEnabled());
    auto* spin = named<QSpinBox>(t.dialog.get(), QStringLiteral("保持する最大数"));
    QCOMPARE(spin->minimum(), 0);
    QCOMPARE(spin->maximum(), 30);
    QCOMPARE(spin->value(), 7);
    auto* fonts = named<QComboBox>(t.dialog.get(), QStringLiteral("フォント名"));
    QCOMPARE(fonts->count(), QFontDatabase::families().size());
    QCOMPARE(fonts->currentText(), family);

    // A stored font that is not installed: the box shows the list's font, and the stored name
    // is kept unless another font is chosen.
    const QString listFamily = QFontDatabase::families().value(1);
    values.fontName = u"ＭＳ ゴシック (not installed)";
    DialogUnderTest missing(values, listFamily);
    auto* missingFonts = named<QComboBox>(missing.dialog.get(), QStringLiteral("フォント名"));
    QCOMPARE(missingFonts->currentText(), listFamily);
    missing.button("設　定(S)")->click();
    QCOMPARE(missing.dialog->values().fontName, values.fontName);
    DialogUnderTest chosen(values, listFamily);
    named<QComboBox>(chosen.dialog.get(), QStringLiteral("フォント名"))->setCurrentText(family);
    chosen.button("設　定(S)")->click();
    QCOMPARE(chosen.dialog->values().fontName, gui::u16(family));
}

void DetailSettingsDialogTest::everyControlHasItsTip() {
    DialogUnderTest t(defaultDetailSettings());
    const struct {
        const char* name;
        const char* tip;
    } tips[] = {
        {"標準ファイル", "標準ファイルを取り込みます(変更不可)"},
        {"システムファイル(Y)", "システムファイルを取り込むようにします"},
        {"隠しファイル(H)", "隠しファイルを取り込むようにします"},
        {"読み取り専用(R)", "読み取り専用ファイルを取り込むようにします"},
        {"設　定(S)", "設定して終了します"},
        {"キャンセル(C)", "設定しないで終了します"},
        {"ツールチップを表示する(T)", "ツールチップヒントを表示する場合にチェックして下さい"},
        {"フォント名", "エディットコントロール、リストコントロールのフォントを選択して下さい"},
        {"フォルダ選択で取り込む(A)",
         "チェックするとフォルダ選択後すぐにリストへ取り込むようになります"},
        {"取り込み時にソートする(O)", "チェックすると取り込み時に昇順でソートするようになります"},
        {"リストに取り込んで起動(L)", "「送る」からリストに取り込んで起動できるようになります"},
        {"ファイル名の入れ替え(G)", "「送る」からファイル名の入れ替えができるようになります"},
        {"作成(M)", "チェックした項目のショートカットを「送る」へ作成します"},
        {"削除(D)", "チェックした項目のショートカットを「送る」から削除します"},
        {"保持する最大数", "各コンボボックスのリスト内に保持するアイテム数を設定します"},
        {"禁則文字を全角にする(W)", "禁則文字があった場合に全角文字へ変換するようにします"},
        {"起動時にアップデートチェック", "起動時に最新バージョンがないか確認するようにします"},
        {"作成日時(J)", "リストへ作成日時を表示するかどうか選択します"},
        {"更新日時(B)", "リストへ更新日時を表示するかどうか選択します"},
        {"ファイルサイズ(E)", "リストへファイルサイズを表示するかどうか選択します"},
        {"変更後にログを表示する(K)", "変更後にログを表示するかどうか選択します"},
        {"名前の入れ替えを許可する(I)",
         "実行する項目どうしで名前を入れ替えたり、ずらしたりできるようにします"},
    };
    for (const auto& tip : tips) {
        QWidget* w = named<QWidget>(t.dialog.get(), QString::fromUtf8(tip.name));
        QVERIFY2(w && w->toolTip() == QString::fromUtf8(tip.tip), tip.name);
    }
    DetailSettings off = defaultDetailSettings();
    off.toolTips = 0;
    DialogUnderTest quiet(off);
    QVERIFY(quiet.button("作成(M)")->toolTip().isEmpty());
}

void DetailSettingsDialogTest::confirmTakesEveryControlAndCancelNothing() {
    DialogUnderTest t(defaultDetailSettings());
    // By keyboard: access keys toggle the boxes, the limit is typed.
    // A button's access key clicks it a moment later, as a click that shows.
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::AltModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
        QTest::qWait(150);
    };
    key(Qt::Key_J);
    key(Qt::Key_T);
    key(Qt::Key_K);
    key(Qt::Key_I);
    key(Qt::Key_X);
    QVERIFY(qobject_cast<QSpinBox*>(QApplication::focusWidget()) ||
            qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3"));
    key(Qt::Key_S);
    QCOMPARE(t.dialog->result(), int(QDialog::Accepted));
    const DetailSettings& v = t.dialog->values();
    QCOMPARE(v.showCreatedColumn, 1);
    QCOMPARE(v.toolTips, 0);
    QCOMPARE(v.showLog, 1);
    QCOMPARE(v.historyLimit, 3);
    QCOMPARE(v.importReadOnly, 1);
    QVERIFY(t.dialog->allowSwaps());

    DialogUnderTest kept(defaultDetailSettings(), {}, true);
    QVERIFY(kept.box("名前の入れ替えを許可する(I)")->isChecked());
    kept.button("設　定(S)")->click();
    QVERIFY(kept.dialog->allowSwaps());

    DialogUnderTest cancelled(defaultDetailSettings());
    cancelled.box("作成日時(J)")->click();
    cancelled.button("キャンセル(C)")->click();
    QCOMPARE(cancelled.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(cancelled.dialog->values().showCreatedColumn, 0);
}

void DetailSettingsDialogTest::fileManagerActionsAreMadeAndRemoved() {
    DialogUnderTest t(defaultDetailSettings());
    const QString menu =
        QString::fromStdString((t.home.path() / "kio/servicemenus/soramine-swap.desktop").string());
    // Nothing checked: nothing asked.
    t.button("作成(M)")->click();
    QVERIFY(t.prompts.questions.empty());

    t.box("ファイル名の入れ替え(G)")->click();
    t.prompts.answers = {false};
    t.button("作成(M)")->click();
    QVERIFY(!QFile::exists(menu));
    t.button("作成(M)")->click();
    QVERIFY(QFile::exists(menu));
    QVERIFY(!t.home.exists("kio/servicemenus/soramine-import.desktop"));
    QCOMPARE(t.prompts.questions.back().text, u"チェック項目のショートカットを作成しますか？");
    QCOMPARE(t.prompts.lastMessage(), QStringLiteral("ショートカットを作成しました。"));
    t.button("削除(D)")->click();
    QCOMPARE(t.prompts.questions.back().text, u"チェック項目のショートカットを削除しますか？");
    QCOMPARE(t.prompts.lastMessage(), QStringLiteral("ショートカットを削除しました。"));
    QVERIFY(!QFile::exists(menu));
    // Made at once: cancelling the dialog keeps them.
    t.button("作成(M)")->click();
    t.button("キャンセル(C)")->click();
    QVERIFY(QFile::exists(menu));
}

void DetailSettingsDialogTest::windowWritesAndAppliesWhatIsConfirmed() {
    testing::TempDir config;
    RenameSession session{IniFile(config.folder() + u"ソラミネ.ini"), makeMethodTable()};
    session.readIni();
    HistoryMap histories;
    testing::ScriptedPrompts prompts;
    gui::MainWindow window(session, histories, prompts);
    window.show();
    auto* folderBox = window.findChild<QComboBox*>(QStringLiteral("folderBox"));
    folderBox->setEditText(QStringLiteral("/tmp/写真"));
    QCOMPARE(folderBox->toolTip(), QStringLiteral("/tmp/写真"));

    // The dialog opens from a right click on "取り込み(&G)"; its choices are confirmed.
    bool seen = false;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<DetailSettingsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        seen = true;
        // No font is stored and the stored default is not installed: the box shows the font
        // the list is drawn in.
        QCOMPARE(named<QComboBox>(dialog, QStringLiteral("フォント名"))->currentText(),
                 QFontInfo(window.findChild<QAbstractItemView*>(QStringLiteral("itemList"))->font())
                     .family());
        testing::saveScreenshot(dialog, QStringLiteral("detail_settings_dialog"));
        named<QCheckBox>(dialog, QStringLiteral("作成日時(J)"))->click();
        named<QCheckBox>(dialog, QStringLiteral("ツールチップを表示する(T)"))->click();
        named<QCheckBox>(dialog, QStringLiteral("変更後にログを表示する(K)"))->click();
        named<QCheckBox>(dialog, QStringLiteral("隠しファイル(H)"))->click();
        named<QSpinBox>(dialog, QStringLiteral("保持する最大数"))->setValue(3);
        named<QPushButton>(dialog, QStringLiteral("設　定(S)"))->click();
    });
    auto* import = window.findChild<QPushButton*>(QStringLiteral("importButton"));
    QTest::mouseClick(import, Qt::RightButton);
    emit import->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(seen);
    struct {
        const char* key;
        int value;
    } const stored[] = {
        {"更新日時", 1},  // "作成日時(&J)" is stored under the crossed key
        {"作成日時", 0}, {"チップ", 0}, {"ログ", 1}, {"隠し", 1}, {"コンボマックス", 3},
    };
    for (const auto& s : stored)
        QVERIFY2(
            session.ini.readInt(u"詳細設定", gui::u16(QString::fromUtf8(s.key)), -1) == s.value,
            s.key);
    // At once: tips, log and limit (and what the next import reads); the columns next start.
    QCOMPARE(session.detail.toolTips, 0);
    QCOMPARE(session.detail.showLog, 1);
    QCOMPARE(session.detail.historyLimit, 3);
    QCOMPARE(session.detail.importHidden, 1);
    QCOMPARE(session.detail.showCreatedColumn, 0);
    QCOMPARE(folderBox->toolTip(), QStringLiteral("取り込むフォルダ名です"));
}

QTEST_MAIN(DetailSettingsDialogTest)
#include "detail_settings_dialog_test.moc"
