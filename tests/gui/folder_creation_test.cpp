// Folder creation from the window: the mode's check box, the destination picker and the
// "フォルダ作成設定" dialog, driven by the keyboard.

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/app/ini_file.h"
#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "gui/main_window.h"
#include "gui_fixture.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"

using namespace soramine;

namespace {

// Presses keys on whatever has the focus, as a person would; access keys click a moment later.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    QTest::qWait(150);
}

// Runs `drive` on the dialog "フォルダ作成設定" once it is up (inside its modal loop).
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(QDialog&)> drive) : drive_(std::move(drive)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->windowTitle() != QStringLiteral("フォルダ作成設定"))
                return;
            timer_.stop();
            drive_(*dialog);
            done = true;
        });
        timer_.start();
    }
    bool done = false;

  private:
    std::function<void(QDialog&)> drive_;
    QTimer timer_;
};

}  // namespace

class FolderCreationTest : public QObject {
    Q_OBJECT
  private slots:
    void makesNestedFoldersByKeyboard();
};

void FolderCreationTest::makesNestedFoldersByKeyboard() {
    testing::TempDir config;
    testing::TempDir dest;
    RenameSession session(IniFile(config.folder() + u"ソラミネ.ini"), makeMethodTable());
    session.readIni();
    HistoryMap histories;
    testing::ScriptedPrompts prompts;
    prompts.folder = QString::fromStdString(dest.path().string());
    auto window = std::make_unique<gui::MainWindow>(session, histories, prompts);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    QTRY_VERIFY(QApplication::focusWidget());

    testing::typeAtAccessKey(QApplication::focusWidget(), 'l',
                             QStringLiteral("F*"));  // "変更名(&L):"
    press(Qt::Key_9, Qt::AltModifier);
    QVERIFY(window->findChild<QCheckBox*>(QStringLiteral("folderCreationCheck"))->isChecked());
    testing::saveScreenshot(window.get(), QStringLiteral("folder_creation_window"));

    // The count 1 is refused and the dialog stays; 3 nested folders are made.
    bool refusedAndOpen = false;
    DialogDriver driver([&](QDialog& dialog) {
        // The count box has the focus when the dialog opens.
        QTRY_VERIFY(qobject_cast<QSpinBox*>(QApplication::focusWidget()));
        QCOMPARE(QApplication::focusWidget()->window(), &dialog);
        press(Qt::Key_A, Qt::AltModifier);  // "連続階層(&A)"
        press(Qt::Key_P, Qt::AltModifier);  // "作成個数(&P):"
        QVERIFY(qobject_cast<QSpinBox*>(QApplication::focusWidget()));
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_1);
        press(Qt::Key_Return);
        refusedAndOpen = dialog.isVisible() &&
                         prompts.lastMessage() == QStringLiteral("作成個数の値が不正です。");
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_3);
        testing::saveScreenshot(&dialog, QStringLiteral("folder_layout_dialog"));
        press(Qt::Key_Return);
    });
    press(Qt::Key_D, Qt::AltModifier);  // "実　行(&D)"
    QTRY_VERIFY(driver.done);
    QVERIFY(refusedAndOpen);
    QCOMPARE(prompts.folderTitle, QStringLiteral("フォルダの作成先を選択して下さい"));
    QTRY_COMPARE(prompts.lastMessage(), QStringLiteral("フォルダを作成しました"));
    QVERIFY(dest.exists("F001/F002/F003"));
    QVERIFY(!dest.exists("F002"));
    QCOMPARE(session.ini.readInt(u"フォルダ作成", u"数", 0), 3);
    QCOMPARE(session.ini.readInt(u"フォルダ作成", u"階層", 0), 1);
    QCOMPARE(gui::qs(session.ini.readString(u"メイン", u"フォルダ作成先", u"")), prompts.folder);

    // Again, with "キャンセル": nothing is made and nothing said; the dialog starts at 3,
    // nested.
    const auto messages = prompts.messages.size();
    window->activateWindow();
    QTRY_VERIFY(QApplication::focusWidget());
    int shownCount = 0;
    bool shownNested = false;
    DialogDriver cancel([&](QDialog& dialog) {
        shownCount = dialog.findChild<QSpinBox*>()->value();
        for (auto* radio : dialog.findChildren<QRadioButton*>())
            shownNested = shownNested || (radio->isChecked() && radio->text().contains(u'A'));
        QTRY_COMPARE(QApplication::focusWidget()->window(), &dialog);
        press(Qt::Key_Escape);
    });
    press(Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(cancel.done);
    QTest::qWait(100);
    QCOMPARE(shownCount, 3);
    QVERIFY(shownNested);
    QCOMPARE(prompts.messages.size(), messages);
    QCOMPARE(std::distance(std::filesystem::directory_iterator(dest.path()),
                           std::filesystem::directory_iterator()),
             1);
}

QTEST_MAIN(FolderCreationTest)
#include "folder_creation_test.moc"
