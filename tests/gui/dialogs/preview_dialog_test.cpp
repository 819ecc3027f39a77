#include "gui/dialogs/preview_dialog.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "gui_test_support.h"

using soramine::PreviewResult;
using soramine::gui::PreviewDialog;
using soramine::testing::MessageCatcher;

namespace {

QString cell(const QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
}

}  // namespace

class PreviewDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheRowsOverTheMainWindow();
    void copiesThePreviewAsText();
    void opensA100000RowPreviewWithoutAWidgetPerRow();
};

void PreviewDialogTest::showsTheRowsOverTheMainWindow() {
    QWidget mainWindow;
    mainWindow.setGeometry(40, 30, 705, 552);
    mainWindow.show();
    // The third item was not reached (a cancelled preview): its cells stay empty.
    const PreviewResult result{
        std::nullopt, {u"a.txt", u"写真.jpg", u""}, {u"b.txt", u"変更無し", u""}};
    PreviewDialog dialog(result, &mainWindow);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("変更予測"));
    QCOMPARE(dialog.geometry(), mainWindow.geometry());

    const QTableView* table = dialog.table();
    QCOMPARE(table->model()->rowCount(), 3);
    QCOMPARE(table->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("変更前"));
    QCOMPARE(table->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("変更後"));
    QCOMPARE(cell(table, 0, 0), QStringLiteral("a.txt"));
    QCOMPARE(cell(table, 0, 1), QStringLiteral("b.txt"));
    QCOMPARE(cell(table, 1, 1), QStringLiteral("変更無し"));
    QCOMPARE(cell(table, 2, 0), QString());

    for (const QSize size : {QSize(705, 552), QSize(1001, 700)}) {
        dialog.resize(size);
        QCoreApplication::processEvents();
        const int width = table->viewport()->width();
        QVERIFY(qAbs(table->columnWidth(0) - width / 2) <= 1);
        QVERIFY(qAbs(table->columnWidth(0) + table->columnWidth(1) - width) <= 1);
    }
    dialog.resize(705, 552);
    soramine::testing::saveScreenshot(&dialog, QStringLiteral("preview_dialog"));
}

void PreviewDialogTest::copiesThePreviewAsText() {
    const PreviewResult result{std::nullopt, {u"a.txt", u"c.txt"}, {u"b.txt", u"変更無し"}};
    PreviewDialog dialog(result, nullptr);
    dialog.show();
    QGuiApplication::clipboard()->clear();
    MessageCatcher catcher;
    QTest::mouseClick(dialog.copyButton(), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("変更前→変更後\r\n\r\na.txt→b.txt\r\nc.txt→変更無し\r\n"));
    QCOMPARE(catcher.messages,
             QStringList{QStringLiteral("完了: クリップボードへコピーしました。")});
    QVERIFY(dialog.isVisible());
}

void PreviewDialogTest::opensA100000RowPreviewWithoutAWidgetPerRow() {
    PreviewResult result;
    for (int i = 0; i < 100000; ++i) {
        result.previewOld.push_back(u"file" + std::u16string(QString::number(i).toStdU16String()));
        result.previewNew.push_back(u"変更無し");
    }
    QElapsedTimer clock;
    clock.start();
    PreviewDialog dialog(result, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(dialog.table()->model()->rowCount(), 100000);
    QVERIFY(dialog.findChildren<QWidget*>().size() < 40);
    QCOMPARE(cell(dialog.table(), 99999, 0), QStringLiteral("file99999"));
}

QTEST_MAIN(PreviewDialogTest)
#include "preview_dialog_test.moc"
