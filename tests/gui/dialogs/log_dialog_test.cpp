#include "gui/dialogs/log_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "core/app/window_placement.h"
#include "gui/qt_text.h"

#include "gui_test_support.h"

using soramine::IniFile;
using soramine::WindowPlacement;
using soramine::gui::LogDialog;

class LogDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheResultLineAndTheLog();
    void keepsItsPlacementInTheIni();
    void ignoresADamagedPlacement();
    void enterOnTheFocusedOkClosesIt();

  private:
    QTemporaryDir dir_;
    IniFile ini() const { return IniFile(soramine::gui::u16(dir_.filePath("ソラミネ.ini"))); }
};

void LogDialogTest::showsTheResultLineAndTheLog() {
    IniFile file = ini();
    const QString log = QStringLiteral(
        "同名ファイルが存在します - /home/user/写真/b.jpg\r\nファイル名変更エラー - "
        "/home/user/写真/c.jpg\r\n");
    LogDialog dialog(QStringLiteral("実行結果　(3 / 5) 処理しました。"), log, file, nullptr);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("リネーム終了"));
    QCOMPARE(dialog.resultLabel()->text(), QStringLiteral("実行結果　(3 / 5) 処理しました。"));
    QCOMPARE(dialog.logBox()->toPlainText(), QString(log).replace("\r\n", "\n"));
    soramine::testing::saveScreenshot(&dialog, QStringLiteral("log_dialog"));
}

void LogDialogTest::keepsItsPlacementInTheIni() {
    IniFile file = ini();
    const QRect place(60, 50, 480, 320);
    {
        LogDialog dialog(QString(), QString(), file, nullptr);
        dialog.show();
        dialog.setGeometry(place);
    }
    const auto stored = soramine::readPlacement(file, u"LogWindow");
    QVERIFY(stored);
    QCOMPARE(stored->showCommand, WindowPlacement::kNormal);
    QCOMPARE(
        QRect(QPoint(stored->left, stored->top), QPoint(stored->right - 1, stored->bottom - 1)),
        place);
    LogDialog again(QString(), QString(), file, nullptr);
    QCOMPARE(again.geometry(), place);
}

void LogDialogTest::ignoresADamagedPlacement() {
    IniFile file = ini();
    file.deleteKey(u"ウインドウ", u"LogWindow");
    LogDialog fresh(QString(), QString(), file, nullptr);
    const QSize defaultSize = fresh.size();
    // Off every screen, and of a wrong length: both leave the dialog where it would be.
    soramine::writePlacement(file, u"LogWindow", {0, 1, -1, -1, -1, -1, -90000, 0, -89000, 300});
    QCOMPARE(LogDialog(QString(), QString(), file, nullptr).size(), defaultSize);
    file.writeBinary(u"ウインドウ", u"LogWindow", std::vector<std::uint8_t>(40, 1));
    QCOMPARE(LogDialog(QString(), QString(), file, nullptr).size(), defaultSize);
}

void LogDialogTest::enterOnTheFocusedOkClosesIt() {
    IniFile file = ini();
    LogDialog dialog(QStringLiteral("実行結果　(1 / 1) 処理しました。"), QString(), file, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QCOMPARE(focus->property("text").toString(), QStringLiteral("OK"));
    QTest::keyClick(focus, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(LogDialogTest)
#include "log_dialog_test.moc"
