#include "gui/pages/text_lines_page_widget.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "core/engine/engine_fixture.h"
#include "core/engine/preview.h"
#include "core/methods/text_lines.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_test_support.h"

using soramine::TextLinesPage;
using soramine::gui::HistoryComboBox;
using soramine::gui::qs;
using soramine::gui::TextLinesPageWidget;
using soramine::gui::u16;
using soramine::testing::clickButton;
using soramine::testing::MessageCatcher;
using soramine::testing::named;
using soramine::testing::typeText;

class TextLinesPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void typedPathNamesTheItems();
    void pathWorksOnlyForATextFile();
    void exportsTheListToTheClipboard();
    void takesOnlyATextFileDropped();
    void addModeIsAnnounced();

  private:
    HistoryComboBox* path() { return named<HistoryComboBox>(page_, "ファイル名"); }
    void addItems(std::initializer_list<std::u16string_view> names);
    void drop(const QString& file);

    std::unique_ptr<soramine::testing::PageUnderTest<TextLinesPage, TextLinesPageWidget>> test_;
    TextLinesPage* core_ = nullptr;
    TextLinesPageWidget* page_ = nullptr;
};

void TextLinesPageTest::init() {
    test_ =
        std::make_unique<soramine::testing::PageUnderTest<TextLinesPage, TextLinesPageWidget>>(8);
    core_ = test_->core;
    page_ = &test_->page;
}

void TextLinesPageTest::addItems(std::initializer_list<std::u16string_view> names) {
    QVERIFY(test_->session->changeItems([&](soramine::ItemTable& table) {
        for (auto name : names) {
            soramine::Row row;
            row.name = name;
            row.folder = u16(test_->dir.path()) + u"/";
            table.append(std::move(row));
        }
    }));
}

void TextLinesPageTest::typedPathNamesTheItems() {
    QCOMPARE(path()->currentText(), QStringLiteral("Sample.txt"));
    QFile file(test_->dir.filePath(QStringLiteral("names.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x82\xA0\r\n\r\nc:d\r\n");
    file.close();
    addItems({u"1.jpg", u"2.jpg", u"3.jpg", u"4.jpg"});

    path()->clearEditText();
    typeText(path(), file.fileName());
    QCOMPARE(path()->currentText(), file.fileName());  // a path keeps its "/" and ":"
    page_->takeSettings();
    test_->session->settings.methodIndex = 8;
    soramine::testing::FakeHost host;
    soramine::QuietObserver quiet;
    const auto preview = soramine::previewRun(*test_->session, host, quiet);
    QCOMPARE(preview.previewNew.size(), std::size_t{3});
    QCOMPARE(qs(preview.previewNew[0]), QStringLiteral("あ.jpg"));
    QCOMPARE(qs(preview.previewNew[1]), QStringLiteral("変更無し"));
    QCOMPARE(qs(preview.previewNew[2]),
             QStringLiteral("ファイル名に \"/ ? * \" < > | \\ : \" は使えません"));
    soramine::testing::saveScreenshot(page_, QStringLiteral("text_lines_page"));
}

void TextLinesPageTest::pathWorksOnlyForATextFile() {
    auto* browse = named<QPushButton>(page_, "テキストファイルを選択");
    QVERIFY(path()->isEnabled());
    QVERIFY(browse->isEnabled());
    clickButton(named<QRadioButton>(page_, "クリップボード(V)"));
    QCOMPARE(core_->settings.source, 0);
    QVERIFY(!path()->isEnabled());
    QVERIFY(!browse->isEnabled());
    clickButton(named<QRadioButton>(page_, "テキストファイル(H)"));
    QCOMPARE(core_->settings.source, 1);
    QVERIFY(path()->isEnabled());
}

void TextLinesPageTest::exportsTheListToTheClipboard() {
    addItems({u"a.tar.gz", u".hidden"});
    clickButton(named<QCheckBox>(page_, "拡張子も含める(L)"));
    clickButton(named<QCheckBox>(page_, "クリップボードへ出力(P)"));
    QGuiApplication::clipboard()->clear();
    MessageCatcher catcher;
    named<QPushButton>(page_, "リスト出力(Q)")->click();
    QCOMPARE(catcher.messages,
             QStringList{QStringLiteral("完了: クリップボードへコピーしました。")});
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a.tar\r\n\r\n"));

    // With 選択 on and nothing selected there is nothing to write and nothing to say.
    clickButton(named<QCheckBox>(page_, "選択ファイルのみ(J)"));
    QGuiApplication::clipboard()->clear();
    named<QPushButton>(page_, "リスト出力(Q)")->click();
    QCOMPARE(catcher.messages.size(), 1);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TextLinesPageTest::drop(const QString& file) {
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(file)});
    const QPoint at = path()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(path(), &enter);
    QDropEvent dropped(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(path(), &dropped);
    delete data;
}

void TextLinesPageTest::takesOnlyATextFileDropped() {
    for (const char* name : {"list.TEXT", "list.txt.bak"}) {
        QFile file(test_->dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    drop(test_->dir.filePath(QStringLiteral("list.txt.bak")));
    QCOMPARE(path()->currentText(), QStringLiteral("Sample.txt"));
    drop(test_->dir.filePath(QStringLiteral("missing.txt")));
    QCOMPARE(path()->currentText(), QStringLiteral("Sample.txt"));
    drop(test_->dir.filePath(QStringLiteral("list.TEXT")));
    QCOMPARE(path()->currentText(), test_->dir.filePath(QStringLiteral("list.TEXT")));
    QCOMPARE(qs(core_->path.text), test_->dir.filePath(QStringLiteral("list.TEXT")));
}

void TextLinesPageTest::addModeIsAnnounced() {
    QSignalSpy announced(page_, &TextLinesPageWidget::addModeChanged);
    clickButton(named<QCheckBox>(page_, "テキストを追加(T)"));
    QCOMPARE(announced.count(), 1);
    QVERIFY(core_->usesAddText());
    clickButton(named<QCheckBox>(page_, "テキストを追加(T)"));
    QCOMPARE(announced.count(), 2);
    QVERIFY(!core_->usesAddText());
}

QTEST_MAIN(TextLinesPageTest)
#include "text_lines_page_test.moc"
