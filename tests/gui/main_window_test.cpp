#include "gui/main_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolTip>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "core/app/ini_file.h"
#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "core/methods/replace.h"
#include "core/text/forbidden_chars.h"
#include "gui/dialogs/progress_dialog.h"
#include "gui/item_list_view.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_fixture.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"

using namespace soramine;
using soramine::gui::MainWindow;
using soramine::gui::qs;

namespace {

// A window over a session whose INI file lives in its own folder, and a folder of files.
struct Fixture {
    testing::TempDir config;
    testing::TempDir files;
    RenameSession session{IniFile(config.folder() + u"ソラミネ.ini"), makeMethodTable()};
    HistoryMap histories;
    testing::ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> window;

    explicit Fixture(std::initializer_list<const char*> names = {"IMG_0001.jpg", "IMG_0002.jpg",
                                                                 "note.txt"}) {
        for (const char* name : names)
            files.write(name, name);
        open();
    }
    void open() {
        session.readIni();
        window = std::make_unique<MainWindow>(session, histories, prompts);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void close() { window.reset(); }

    template <class W>
    W* find(const char* name) const {
        auto* w = window->findChild<W*>(QString::fromUtf8(name));
        if (!w)
            qFatal("no widget %s", name);
        return w;
    }
    void click(const char* name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    gui::ItemListView* list() const { return find<gui::ItemListView>("itemList"); }
    QString cell(int row, int column = 0) const {
        return list()->model()->index(row, column).data().toString();
    }
    QString pane(const char* name) const { return find<QLabel>(name)->text(); }

    // Types the folder into the folder box and clicks the import button.
    void importFiles() {
        QLineEdit* edit = find<QComboBox>("folderBox")->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromStdString(files.path().string()));
        click("importButton");
    }
    // Chooses a method with the keyboard, as a user stepping through the box.
    void chooseMethod(int index) {
        auto* box = find<QComboBox>("methodBox");
        box->setFocus();
        // One key per step; a refused choice puts the box back, so count the steps first.
        const int steps = index - box->currentIndex();
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::keyClick(box, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
    // Chooses a method from the open drop-down list with the mouse.
    void pickMethod(int index) {
        auto* box = find<QComboBox>("methodBox");
        box->showPopup();
        QAbstractItemView* view = box->view();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(index, 0)).center());
    }
    // The replace page's two texts: typed into its history boxes when the page has them,
    // else (the page widget not built yet) set on the core page object.
    void replaceTexts(const QString& before, const QString& after) {
        auto* page = dynamic_cast<ReplacePage*>(session.methods.page(1));
        bool typed = false;
        for (auto* box : find<QWidget>("page1")->findChildren<gui::HistoryComboBox*>()) {
            if (box->box() == &page->search || box->box() == &page->replacement) {
                box->setEditText(box->box() == &page->search ? before : after);
                typed = true;
            }
        }
        if (!typed) {
            page->search.text = gui::u16(before);
            page->replacement.text = gui::u16(after);
        }
    }
    void selectRow(int row) {
        gui::ItemListView* view = list();
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
    bool exists(const char* name) const { return files.exists(name); }
};

// Files "IMG_00000.jpg", ... enough that renaming them takes a run some time.
constexpr int kManyFiles = 6000;
std::string manyFileName(const char* prefix, int i) {
    return QString::asprintf("%s%05d.jpg", prefix, i).toStdString();
}

// Calls `act` once with the progress dialog of the run a click starts, as soon as the dialog
// shows some items done; closes any other dialog that opens meanwhile (a result log).
class RunProbe {
  public:
    explicit RunProbe(std::function<void(gui::ProgressDialog&)> act) {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this, act = std::move(act)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* progress = qobject_cast<gui::ProgressDialog*>(modal)) {
                if (!acted && progress->bar()->value() > 0) {
                    acted = true;
                    act(*progress);
                }
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
        });
        timer_.start();
    }
    bool acted = false;

  private:
    QTimer timer_;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void wholeRoadImportPreviewExecuteUndo();
    void methodAndOptionRules();
    void folderModeSwitchAsksBeforeClearing();
    void listCommandsAndContextMenu();
    void headerSortsAndDragMovesRows();
    void settingsFileRoundTrip();
    void settingsWrittenWhenTheWindowCloses();
    void swapsSettingLetsItemsTakeEachOthersNames();
    void pagesFitTheWindowWithoutSideScrolling();
    void cancelledRunKeepsItsRenamesForUndo();
    void importDuringARunWaitsForItsEnd();
    void aFolderThatCannotBeListedKeepsTheList_data();
    void aFolderThatCannotBeListedKeepsTheList();
    void tabFollowsTheVisualOrderAndLeavesTheList();
    void statusPaneSaysWhatHappenedAndMirrorsTips();
    void listKeysOpenMenusAndMoveRows();
    void inPlaceRenameRepairsAndShowsTheRealName_data();
    void inPlaceRenameRepairsAndShowsTheRealName();
    void newNamesColumnFollowsTyping();
};

void MainWindowTest::wholeRoadImportPreviewExecuteUndo() {
    Fixture f;
    QCOMPARE(f.pane("countPane"), QStringLiteral("総アイテム数:    0"));
    f.importFiles();
    QCOMPARE(f.pane("countPane"), QStringLiteral("総アイテム数:    3"));
    QCOMPARE(f.cell(0), QStringLiteral("IMG_0001.jpg"));
    QCOMPARE(f.cell(2), QStringLiteral("note.txt"));
    testing::saveScreenshot(*f.window, QStringLiteral("main_window"));

    f.chooseMethod(1);
    QCOMPARE(f.session.settings.methodIndex, 1);
    QCOMPARE(f.find<QWidget>("page1")->isVisible(), true);
    f.replaceTexts(QStringLiteral("IMG_"), QStringLiteral("photo_"));

    {
        QString shown;
        testing::ModalCloser closer([&](QDialog& dialog) {
            testing::saveScreenshot(dialog, QStringLiteral("preview_dialog"));
            shown = dialog.windowTitle();
        });
        f.click("previewButton");
        QTRY_COMPARE(shown, QStringLiteral("変更予測"));
    }
    QVERIFY(f.exists("IMG_0001.jpg"));  // a preview changes nothing

    f.click("executeButton");
    QVERIFY(f.prompts.messages.empty());
    QVERIFY(f.exists("photo_0001.jpg") && f.exists("photo_0002.jpg") && f.exists("note.txt"));
    QVERIFY(!f.exists("IMG_0001.jpg"));
    QCOMPARE(f.cell(0), QStringLiteral("photo_0001.jpg"));
    QVERIFY(f.find<QPushButton>("undoButton")->isEnabled());

    f.click("undoButton");
    QVERIFY(f.exists("IMG_0001.jpg") && f.exists("IMG_0002.jpg"));
    QVERIFY(!f.exists("photo_0001.jpg"));
    QCOMPARE(f.cell(1), QStringLiteral("IMG_0002.jpg"));
    QVERIFY(!f.find<QPushButton>("undoButton")->isEnabled());

    // A change of the selection after a run ends the chance to undo it.
    f.click("executeButton");
    QVERIFY(f.find<QPushButton>("undoButton")->isEnabled());
    f.selectRow(2);
    QCOMPARE(f.pane("selectedPane"), QStringLiteral("選択アイテム数:    1"));
    QVERIFY(!f.find<QPushButton>("undoButton")->isEnabled());
    QVERIFY(!f.session.canUndo());
    QVERIFY(f.exists("photo_0001.jpg"));
}

void MainWindowTest::methodAndOptionRules() {
    Fixture f;
    auto* move = f.find<QCheckBox>("moveCheck");
    auto* copy = f.find<QCheckBox>("copyCheck");
    f.click("moveCheck");
    f.click("copyCheck");
    QCOMPARE(f.prompts.lastMessage(), QStringLiteral("移動とコピーは同時に選択出来ません"));
    QVERIFY(move->isChecked() && !copy->isChecked());

    // Folder creation only with 連番, テキスト or ランダム; then those are the only choices.
    f.chooseMethod(1);
    f.click("folderCreationCheck");
    QVERIFY(f.prompts.lastMessage().startsWith(
        QStringLiteral("フォルダ作成できるリネーム方式ではありません")));
    QVERIFY(!f.find<QCheckBox>("folderCreationCheck")->isChecked());
    f.chooseMethod(0);
    f.click("folderCreationCheck");
    QVERIFY(f.find<QCheckBox>("folderCreationCheck")->isChecked());
    f.chooseMethod(1);
    QCOMPARE(f.prompts.lastMessage(),
             QStringLiteral("フォルダ作成モードでこの項目は選択できません"));
    QCOMPARE(f.find<QComboBox>("methodBox")->currentIndex(), 0);
    QCOMPARE(f.session.settings.methodIndex, 0);

    // The add tab is offered only while the page adds its text.
    auto* tabs = f.find<QTabWidget>("pageTabs");
    QVERIFY(!tabs->isTabEnabled(1));
    const QStringList captions{tabs->tabText(0), tabs->tabText(1)};
    QCOMPARE(captions,
             (QStringList{QStringLiteral("　メイン設定　"), QStringLiteral("　追加設定　")}));
    QCOMPARE(f.find<QComboBox>("methodBox")->count(), 15);
}

void MainWindowTest::folderModeSwitchAsksBeforeClearing() {
    Fixture f;
    f.importFiles();
    f.prompts.answers = {false};
    f.click("folderModeCheck");
    QCOMPARE(f.prompts.questions.size(), size_t(1));
    QVERIFY(!f.find<QCheckBox>("folderModeCheck")->isChecked());
    QCOMPARE(f.session.items().count(), size_t(3));

    // Folder mode refuses the methods that need file contents and clears the list on Yes.
    f.chooseMethod(4);
    f.click("folderModeCheck");
    QVERIFY(f.find<QCheckBox>("folderModeCheck")->isChecked());
    QCOMPARE(f.session.items().count(), size_t(0));
    QCOMPARE(f.find<QComboBox>("methodBox")->currentIndex(), 0);
    auto* extension = f.find<QComboBox>("extensionBox");
    QVERIFY(!extension->isEnabled());
    QCOMPARE(extension->currentText(), QStringLiteral("フォルダモード"));
    f.pickMethod(5);
    QCOMPARE(f.prompts.lastMessage(), QStringLiteral("フォルダモードでこの項目は選択できません"));
    QCOMPARE(f.find<QComboBox>("methodBox")->currentIndex(), 0);

    f.click("folderModeCheck");  // the list is empty: no question
    QCOMPARE(f.prompts.questions.size(), size_t(2));
    QCOMPARE(extension->currentText(), QStringLiteral("*"));
    QVERIFY(extension->isEnabled());
}

void MainWindowTest::listCommandsAndContextMenu() {
    Fixture f({"a.txt", "b.txt", "c.txt", "d.txt"});
    f.importFiles();
    gui::ItemListView* view = f.list();

    // Delete removes the selected rows from the list, never the files.
    f.selectRow(1);
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(f.session.items().count(), size_t(3));
    QCOMPARE(f.cell(1), QStringLiteral("c.txt"));
    QVERIFY(f.exists("b.txt"));
    QCOMPARE(f.pane("selectedPane"), QStringLiteral("選択アイテム数:    0"));

    f.selectRow(0);
    f.window->invertSelection();
    QCOMPARE(f.session.selection(), (std::vector<size_t>{1, 2}));
    QCOMPARE(f.pane("selectedPane"), QStringLiteral("選択アイテム数:    2"));

    // Swap asks, then exchanges the two files' names; the rows stay.
    f.prompts.answers = {true};
    f.window->swapSelected();
    QCOMPARE(f.prompts.questions.back().text,
             std::u16string(u"この2つのファイル名を入れ替えますか？"));
    QCOMPARE(f.files.read("c.txt"), std::string("d.txt"));
    QCOMPARE(f.files.read("d.txt"), std::string("c.txt"));

    // Moving to the desktop's trash keeps what its view needs to put the files back.
    testing::TempDir data;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.path().string()));
    f.window->trashSelected();
    QVERIFY(!f.exists("c.txt") && !f.exists("d.txt"));
    QCOMPARE(f.session.items().count(), size_t(1));
    QVERIFY(data.exists("Trash/files/c.txt"));
    const std::string info = data.read("Trash/info/c.txt.trashinfo");
    QVERIFY(info.find("[Trash Info]") != std::string::npos);
    QVERIFY(info.find("Path=") != std::string::npos);

    // F2 edits the one selected name; the edit renames the file.
    f.selectRow(0);
    QTest::keyClick(f.window.get(), Qt::Key_F2);
    auto* editor = view->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("z.txt"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(f.exists("z.txt"));
    QCOMPARE(f.cell(0), QStringLiteral("z.txt"));

    // The context menu only over a list with rows, its items enabled by the selection.
    f.window->clearAll();
    QCOMPARE(f.session.items().count(), size_t(0));
    QCOMPARE(f.pane("countPane"), QStringLiteral("総アイテム数:    0"));
}

void MainWindowTest::headerSortsAndDragMovesRows() {
    Fixture f({"b.txt", "a.txt", "c.txt", "d.txt"});
    f.importFiles();  // each folder's files come sorted by name
    QCOMPARE(f.cell(0), QStringLiteral("a.txt"));
    QHeaderView* header = f.list()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    QCOMPARE(f.cell(0), QStringLiteral("a.txt"));  // first click: ascending
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    QCOMPARE(f.cell(0), QStringLiteral("d.txt"));  // second: descending

    // Drag row 3 (a.txt) above row 1 (c.txt): d, a, c, b.
    gui::ItemListView* view = f.list();
    f.selectRow(3);
    const auto rowCenter = [&](int row) {
        return view->visualRect(view->model()->index(row, 0)).center();
    };
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, rowCenter(3));
    QTest::mouseMove(view->viewport(), rowCenter(2));
    QTest::mouseMove(view->viewport(), rowCenter(1));
    QCOMPARE(view->insertionIndex(), 1);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, rowCenter(1));
    QStringList order;
    for (int row = 0; row < 4; ++row)
        order << f.cell(row);
    QCOMPARE(order, (QStringList{"d.txt", "a.txt", "c.txt", "b.txt"}));
    QCOMPARE(f.session.selection(), std::vector<size_t>{1});

    // A drag onto a selected row has no insertion point.
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, rowCenter(1));
    QTest::mouseMove(view->viewport(), rowCenter(1) + QPoint(0, 3));
    QTest::mouseMove(view->viewport(), rowCenter(1) + QPoint(0, 6));
    QCOMPARE(view->insertionIndex(), -1);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, rowCenter(1));
    QCOMPARE(f.cell(1), QStringLiteral("a.txt"));
}

void MainWindowTest::settingsFileRoundTrip() {
    Fixture f;
    f.chooseMethod(1);
    f.replaceTexts(QStringLiteral("IMG_"), QStringLiteral("photo_"));
    f.click("autoAvoidCheck");
    const std::u16string path = f.config.folder() + u"job.qrn";
    f.window->saveSettingsFileAs(path);
    QVERIFY(f.prompts.messages.empty());

    f.chooseMethod(0);
    f.click("autoAvoidCheck");
    QVERIFY(f.window->loadSettingsFile(path));
    QCOMPARE(f.find<QComboBox>("methodBox")->currentIndex(), 1);
    QVERIFY(f.find<QCheckBox>("autoAvoidCheck")->isChecked());
    QCOMPARE(dynamic_cast<ReplacePage*>(f.session.methods.page(1))->search.text,
             std::u16string(u"IMG_"));

    f.config.write("bad.qrn", "not a settings file");
    QVERIFY(!f.window->loadSettingsFile(f.config.folder() + u"bad.qrn"));
    QCOMPARE(f.prompts.lastMessage(), QStringLiteral("ソラミネファイルではありません"));
}

void MainWindowTest::swapsSettingLetsItemsTakeEachOthersNames() {
    // "x" → "xx": x.txt wants xx.txt, which becomes xxxx.txt; only with swaps allowed can x.txt
    // come after it.
    Fixture f({"x.txt", "xx.txt"});
    f.importFiles();
    f.chooseMethod(1);
    f.replaceTexts(QStringLiteral("x"), QStringLiteral("xx"));
    // "詳細設定" opens from a right click on "取り込み(&G)"; its box is ticked by its access key.
    const auto setSwaps = [&](bool expectedBefore) {
        bool seen = false;
        QTimer::singleShot(50, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->windowTitle() == QStringLiteral("詳細設定"));
            auto* box =
                testing::named<QCheckBox>(dialog, QStringLiteral("名前の入れ替えを許可する(I)"));
            QVERIFY(box && box->isChecked() == expectedBefore);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::AltModifier);
            QTRY_VERIFY(box->isChecked() != expectedBefore);
            testing::named<QPushButton>(dialog, QStringLiteral("設　定(S)"))->click();
            seen = true;
        });
        auto* import = f.window->findChild<QPushButton*>(QStringLiteral("importButton"));
        emit import->customContextMenuRequested(QPoint(5, 5));
        QVERIFY(seen);
    };
    setSwaps(false);
    QCOMPARE(f.session.settings.allowSwaps, 1);

    f.click("executeButton");
    QVERIFY(f.prompts.messages.empty());
    QVERIFY(!f.exists("x.txt"));
    QCOMPARE(f.files.read("xx.txt"), std::string("x.txt"));
    QCOMPARE(f.files.read("xxxx.txt"), std::string("xx.txt"));
    QCOMPARE(f.cell(0), QStringLiteral("xx.txt"));
    QCOMPARE(f.cell(1), QStringLiteral("xxxx.txt"));

    f.close();
    QCOMPARE(f.session.ini.readInt(u"メイン", u"入れ替え", 0), 1);
    f.session.settings.allowSwaps = 0;
    f.open();
    QCOMPARE(f.session.settings.allowSwaps, 1);
    setSwaps(true);
    QCOMPARE(f.session.settings.allowSwaps, 0);
}

void MainWindowTest::settingsWrittenWhenTheWindowCloses() {
    Fixture f;
    f.session.ini.writeString(u"ウインドウ", u"LEFT", u"10");
    f.close();
    f.open();  // a start deletes the obsolete keys
    f.importFiles();
    f.click("subfoldersCheck");
    f.window->resize(800, 600);
    f.list()->setColumnWidth(0, 222);
    f.close();
    const IniFile& ini = f.session.ini;
    QCOMPARE(ini.readInt(u"メイン", u"サブフォルダ", 0), 1);
    QCOMPARE(ini.readInt(u"メイン", u"フォルダ名カウント", 0), 1);
    QCOMPARE(ini.readInt(u"リスト", u"ファイル名", 0), 222);
    QCOMPARE(ini.readInt(u"リスト", u"フォルダ名", 0), 104);
    QCOMPARE(ini.readString(u"ウインドウ", u"WindowSize", u"").size(), size_t(88));
    QCOMPARE(ini.readString(u"ウインドウ", u"LEFT", u"gone"), std::u16string(u"gone"));
    QCOMPARE(f.histories.count(u"メインフォルダ名0"), size_t(1));

    f.open();  // the next start shows the same size and options
    QCOMPARE(f.window->size(), QSize(800, 600));
    QVERIFY(f.find<QCheckBox>("subfoldersCheck")->isChecked());
    f.window->resize(100, 100);
    QVERIFY(f.window->width() >= 705 && f.window->height() >= 552);
}

// At the size of a first start the first page shows whole and no page scrolls sideways, and
// the list shows its columns whole. Pictures of the window with each page are kept.
void MainWindowTest::pagesFitTheWindowWithoutSideScrolling() {
    Fixture f;
    QVERIFY(f.window->isVisible());
    QVERIFY(f.list()->viewport()->width() >= f.list()->horizontalHeader()->length());
    auto* tabs = f.find<QTabWidget>("pageTabs");
    const struct {
        int method;
        int tab;
        const char* picture;
    } cases[] = {
        {0, 0, "main_window_numbering"},
        {1, 0, "main_window_replace"},
        {8, 0, "main_window_text_lines"},
        {10, 0, "main_window_random_name"},
        {13, 0, "main_window_script"},
        {0, 1, "main_window_add_text"},  // 連番を追加 offers the add tab
        {3, 0, "main_window_delete_extract"},
        {5, 0, "main_window_extension"},
        {14, 0, "main_window_conversion"},
        {4, 0, "main_window_mp3_tags"},
        {6, 0, "main_window_timestamps"},
        {7, 0, "main_window_date"},
        {9, 0, "main_window_hash_name"},
        {11, 0, "main_window_split_reorder"},
        {12, 0, "main_window_attributes"},
    };
    for (const auto& c : cases) {
        f.chooseMethod(c.method);
        if (c.tab == 1) {
            testing::clickButton(testing::named<QRadioButton>(f.find<QWidget>("page0"),
                                                              QStringLiteral("連番を追加(H)")));
            QVERIFY(tabs->isTabEnabled(1));
        }
        tabs->setCurrentIndex(c.tab);
        QApplication::processEvents();
        auto* area = qobject_cast<QScrollArea*>(tabs->currentWidget());
        QVERIFY(area);
        testing::saveScreenshot(*f.window, QString::fromUtf8(c.picture));
        QVERIFY2(!area->horizontalScrollBar()->isVisible(), c.picture);
        if (c.method == 0 && c.tab == 0)
            QVERIFY2(!area->verticalScrollBar()->isVisible(), c.picture);
        QVERIFY2(area->widget()->minimumSizeHint().width() <= area->viewport()->width(), c.picture);
    }
    // At the window's minimum size the pages still fit its width.
    f.window->resize(100, 100);
    for (const auto& c : cases) {
        if (c.tab == 1)
            continue;
        f.chooseMethod(c.method);
        tabs->setCurrentIndex(0);
        QApplication::processEvents();
        auto* area = qobject_cast<QScrollArea*>(tabs->currentWidget());
        testing::saveScreenshot(*f.window, QString::fromUtf8(c.picture) + QStringLiteral("_min"));
        QVERIFY2(!area->horizontalScrollBar()->isVisible(), c.picture);
    }
}

void MainWindowTest::cancelledRunKeepsItsRenamesForUndo() {
    Fixture f({});
    for (int i = 0; i < kManyFiles; ++i)
        f.files.write(manyFileName("IMG_", i));
    f.importFiles();
    f.chooseMethod(1);
    f.replaceTexts(QStringLiteral("IMG_"), QStringLiteral("photo_"));
    RunProbe probe([](gui::ProgressDialog& dialog) {
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    });
    f.click("executeButton");
    QVERIFY(probe.acted);

    // The run stopped part way: the items it reached are renamed on the disk and in the list.
    int renamed = 0;
    while (renamed < kManyFiles && f.exists(manyFileName("photo_", renamed).c_str()))
        ++renamed;
    QVERIFY2(renamed > 0 && renamed < kManyFiles, qPrintable(QString::number(renamed)));
    for (int i : {0, renamed - 1, renamed, kManyFiles - 1}) {
        const bool done = i < renamed;
        const std::string name = manyFileName(done ? "photo_" : "IMG_", i);
        QVERIFY2(f.exists(name.c_str()), name.c_str());
        QVERIFY(!f.exists(manyFileName(done ? "IMG_" : "photo_", i).c_str()));
        QCOMPARE(f.cell(i), QString::fromStdString(name));
    }

    QVERIFY(f.find<QPushButton>("undoButton")->isEnabled());
    f.click("undoButton");
    for (int i : {0, renamed - 1, renamed, kManyFiles - 1}) {
        QVERIFY(f.exists(manyFileName("IMG_", i).c_str()));
        QCOMPARE(f.cell(i), QString::fromStdString(manyFileName("IMG_", i)));
    }
    QVERIFY(!f.exists(manyFileName("photo_", 0).c_str()));
    QVERIFY(!f.find<QPushButton>("undoButton")->isEnabled());
}

// While a run is under way the window is disabled under the modal progress dialog: a drop
// on the list is refused. Paths handed to the window meanwhile wait for the run's end.
void MainWindowTest::importDuringARunWaitsForItsEnd() {
    Fixture f({});
    for (int i = 0; i < kManyFiles; ++i)
        f.files.write(manyFileName("IMG_", i));
    testing::TempDir other;
    const std::filesystem::path dropped = other.write("dropped.txt");
    const std::filesystem::path handed = other.write("handed.txt");
    f.importFiles();
    f.click("addRadio");  // 追加: an import adds to the list
    f.chooseMethod(1);
    f.replaceTexts(QStringLiteral("IMG_"), QStringLiteral("photo_"));

    bool dropAccepted = true;
    size_t rowsWhileRunning = 0;
    RunProbe probe([&](gui::ProgressDialog&) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped.string()))});
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.list()->viewport(), &drop);
        dropAccepted = drop.isAccepted();
        f.window->importPaths({gui::corePath(QString::fromStdString(handed.string()))},
                              PathSource::Drop);
        rowsWhileRunning = f.session.items().count();
    });
    f.click("executeButton");
    QVERIFY(probe.acted);
    QVERIFY(!dropAccepted);
    QCOMPARE(rowsWhileRunning, size_t(kManyFiles));
    QVERIFY(f.exists(manyFileName("photo_", kManyFiles - 1).c_str()));  // the run went on
    QVERIFY(f.prompts.messages.empty());
    QCOMPARE(f.session.items().count(), size_t(kManyFiles + 1));
    QCOMPARE(f.cell(kManyFiles), QStringLiteral("handed.txt"));
}

void MainWindowTest::inPlaceRenameRepairsAndShowsTheRealName_data() {
    QTest::addColumn<QString>("forbidden");
    for (QChar c : QStringLiteral("/?*\"<>|\\:\t"))
        QTest::newRow(qPrintable(QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))))
            << QString(c);
}

void MainWindowTest::inPlaceRenameRepairsAndShowsTheRealName() {
    QFETCH(QString, forbidden);
    Fixture f({"photo.jpg"});
    f.importFiles();
    gui::ItemListView* view = f.list();
    bool editorShownAtMessage = true;
    QString rowAtMessage;
    bool rowNameExisted = false;
    f.prompts.onMessage = [&](const Message&) {
        auto* editor = view->findChild<QLineEdit*>();
        editorShownAtMessage = editor && editor->isVisible();
        rowAtMessage = f.cell(0);
        rowNameExisted = f.files.exists(rowAtMessage.toStdString());
    };
    f.selectRow(0);
    QTest::keyClick(f.window.get(), Qt::Key_F2);
    auto* editor = view->findChild<QLineEdit*>();
    QVERIFY(editor);
    QCOMPARE(editor->selectedText(), QStringLiteral("photo"));  // the name without extension
    editor->insert(QStringLiteral("x") + forbidden + QStringLiteral("y"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(f.exists("xy.jpg"));
    QVERIFY(!f.exists("photo.jpg"));
    QCOMPARE(f.prompts.messages.size(), size_t(1));
    QCOMPARE(f.prompts.messages.front().text, text::forbiddenMessage(text::ForbiddenSet::All).text);
    QVERIFY2(!editorShownAtMessage, "the edited text stood over the row during the message");
    QVERIFY2(rowNameExisted, qPrintable(rowAtMessage));
    QCOMPARE(f.cell(0), QStringLiteral("xy.jpg"));
}

void MainWindowTest::aFolderThatCannotBeListedKeepsTheList_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removeAfterTyping");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a file named as the folder")
        << QStringLiteral("note.txt") << false << QStringLiteral("ディレクトリ名が無効です。");
    QTest::newRow("removed between typing and import")
        << QStringLiteral("sub") << true << QStringLiteral("指定されたファイルが見つかりません。");
}

void MainWindowTest::aFolderThatCannotBeListedKeepsTheList() {
    QFETCH(QString, name);
    QFETCH(bool, removeAfterTyping);
    QFETCH(QString, reason);
    Fixture f;
    f.files.write("sub/x.txt", "x");
    f.importFiles();
    QCOMPARE(f.session.items().count(), size_t(3));
    f.selectRow(1);
    auto* folderBox = f.find<QComboBox>("folderBox");
    const QStringList historyBefore = [&] {
        QStringList items;
        for (int i = 0; i < folderBox->count(); ++i)
            items << folderBox->itemText(i);
        return items;
    }();

    const QString folder = QString::fromStdString((f.files.path() / name.toStdString()).string());
    folderBox->lineEdit()->selectAll();
    QTest::keyClicks(folderBox->lineEdit(), folder);
    if (removeAfterTyping)
        std::filesystem::remove_all(f.files.path() / name.toStdString());
    f.click("importButton");

    QCOMPARE(f.prompts.messages.size(), size_t(1));
    QCOMPARE(qs(f.prompts.messages[0].caption), QStringLiteral("エラー"));
    QCOMPARE(f.prompts.lastMessage(),
             QStringLiteral("フォルダを読み込めません: %1/ (%2)").arg(folder, reason));
    QCOMPARE(f.session.items().count(), size_t(3));
    QCOMPARE(f.cell(0), QStringLiteral("IMG_0001.jpg"));
    QCOMPARE(f.session.selection(), (std::vector<size_t>{1}));
    QCOMPARE(f.pane("countPane"), QStringLiteral("総アイテム数:    3"));
    QStringList historyAfter;
    for (int i = 0; i < folderBox->count(); ++i)
        historyAfter << folderBox->itemText(i);
    QCOMPARE(historyAfter, historyBefore);
    QVERIFY(!f.session.folderBox.entries.empty());
    QVERIFY(f.session.folderBox.entries.front() != gui::u16(folder));
}

namespace {

// What a screen reader says for the widget that has the focus: its accessible name, or the
// name its accessible interface gives (a button's caption without the "&").
QString focusedName() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return QStringLiteral("(none)");
    if (!focus->accessibleName().isEmpty())
        return focus->accessibleName();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(focus);
    const QString name = a ? a->text(QAccessible::Name) : QString();
    return name.isEmpty() ? QStringLiteral("(unnamed %1)").arg(focus->metaObject()->className())
                          : name;
}

// The names the focus passes with `key` from the folder box until it comes back there.
QStringList tabRound(Qt::KeyboardModifiers modifiers) {
    QStringList names{focusedName()};
    for (int i = 0; i < 80; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        if (focusedName() == names.front())
            break;
        names << focusedName();
    }
    return names;
}

}  // namespace

void MainWindowTest::tabFollowsTheVisualOrderAndLeavesTheList() {
    Fixture f;
    f.importFiles();
    f.chooseMethod(1);  // the replace page, built after the list
    QApplication::setActiveWindow(f.window.get());
    f.find<QComboBox>("folderBox")->setFocus();
    QTRY_COMPARE(focusedName(), QStringLiteral("フォルダ名(F):"));
    // The checked radio button alone is a stop; a disabled button is none.
    const QStringList expected = {"フォルダ名(F):",
                                  "フォルダの選択",
                                  "拡張子(K):",
                                  "フォルダモード(W)",
                                  "新規(N)",
                                  "サブフォルダも含める(S)",
                                  "取り込み(G)",
                                  "リネーム方式(Y):",
                                  "PAGE",
                                  "選択ファイルのみリネーム(O)",
                                  "フォルダ作成(9)",
                                  "バックアップを作成する(B)",
                                  "リネーム後移動(8)",
                                  "自動で重複回避(Z)",
                                  "リネーム後コピー(7)",
                                  "実　行(D)",

                                  "予測",
                                  "アイテム一覧",
                                  "メニュー"};
    const QStringList forward = tabRound(Qt::NoModifier);
    qInfo() << forward;
    QVERIFY(!forward.join(u'|').contains(QStringLiteral("unnamed")));
    // The replace page's own controls stand between the tabs and the execution group.
    const int tabsAt = forward.indexOf(QStringLiteral("リネーム方式(Y):"));
    const int executionAt = forward.indexOf(QStringLiteral("選択ファイルのみリネーム(O)"));
    QVERIFY2(tabsAt > 0 && executionAt > tabsAt + 1, qPrintable(forward.join(u'|')));
    QStringList withPage = expected;
    withPage.removeOne(QStringLiteral("PAGE"));
    QStringList shown = forward.mid(0, tabsAt + 1) + forward.mid(executionAt);
    QCOMPARE(shown, withPage);
    // Shift+Tab walks the same round backwards.
    QStringList backward = tabRound(Qt::ShiftModifier);
    std::reverse(backward.begin() + 1, backward.end());
    QCOMPARE(backward, forward);
}

void MainWindowTest::listKeysOpenMenusAndMoveRows() {
    Fixture f({"a.txt", "b.txt", "c.txt", "d.txt"});
    f.importFiles();
    gui::ItemListView* view = f.list();
    f.selectRow(1);
    view->setFocus();
    QHeaderView* header = view->horizontalHeader();

    // Ctrl+Down and Ctrl+Up move the selected row, which stays selected.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(f.cell(2), QStringLiteral("b.txt"));
    QCOMPARE(f.session.selection(), (std::vector<size_t>{2}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ControlModifier);  // at the end
    QCOMPARE(f.cell(3), QStringLiteral("b.txt"));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(f.cell(0), QStringLiteral("b.txt"));
    QCOMPARE(f.cell(1), QStringLiteral("a.txt"));
    QCOMPARE(f.session.selection(), (std::vector<size_t>{0}));

    // Shift+F10 and the menu key open the context menu; its Sort entry sorts by name, and the
    // header marks the column.
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        const auto shownMenu = [&]() -> QMenu* {
            for (QMenu* m : f.window->findChildren<QMenu*>()) {
                if (m->isVisible())
                    return m;
            }
            return nullptr;
        };
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QTRY_VERIFY(shownMenu());
        shownMenu()->close();
    }
    QMenu* menu = f.window->findChild<QMenu*>();
    QAction* sortEntry = nullptr;
    for (QMenu* m : f.window->findChildren<QMenu*>()) {
        for (QAction* a : m->actions()) {
            if (a->text() == QStringLiteral("並べ替え(&T)"))
                sortEntry = a;
        }
    }
    QVERIFY(menu && sortEntry && sortEntry->menu());
    QAction* byName = sortEntry->menu()->actions().at(3)->menu()->actions().at(0);  // 降順
    byName->trigger();
    QCOMPARE(f.cell(0), QStringLiteral("d.txt"));
    QCOMPARE(header->sortIndicatorSection(), 0);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    // A move breaks the order: the mark goes.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(header->sortIndicatorSection(), -1);
}

void MainWindowTest::statusPaneSaysWhatHappenedAndMirrorsTips() {
    Fixture f;
    f.importFiles();
    f.chooseMethod(1);
    f.replaceTexts(QStringLiteral("IMG_"), QStringLiteral("photo_"));
    QCOMPARE(f.pane("readyPane"), QStringLiteral("レディ"));
    f.click("executeButton");
    QCOMPARE(f.pane("readyPane"), QStringLiteral("実行結果　(2 / 3) 処理しました。"));

    // A tip shows in the pane too; when it hides, "レディ" comes back.
    auto* button = f.find<QPushButton>("importButton");
    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button, &tip);
    QCOMPARE(f.pane("readyPane"), QStringLiteral("現在の設定で取り込みます(右クリックで詳細設定)"));
    QToolTip::hideText();
    QTRY_COMPARE(f.pane("readyPane"), QStringLiteral("レディ"));

    f.click("undoButton");
    QCOMPARE(f.pane("readyPane"), QStringLiteral("元に戻しました。"));
    QVERIFY(f.exists("IMG_0001.jpg"));
}

// The column of new names: off at first, switched on from the header's menu and off from the
// list's context menu by keyboard, kept in the INI file, following what is typed, with the
// items the run would number or that clash with an earlier item marked in words.
void MainWindowTest::newNamesColumnFollowsTyping() {
    Fixture f({"1a.txt", "1aa.txt", "2.txt", "2a.txt", "note.txt"});
    f.importFiles();
    gui::ItemListView* view = f.list();
    QAbstractItemModel* model = view->model();
    const auto captions = [&] {
        QStringList list;
        for (int c = 0; c < model->columnCount(); ++c)
            list << model->headerData(c, Qt::Horizontal).toString();
        return list;
    };
    QCOMPARE(captions(), (QStringList{"ファイル名", "フォルダ名", "▼"}));
    const auto shownMenu = [&]() -> QMenu* {
        for (QMenu* m : f.window->findChildren<QMenu*>()) {
            if (m->isVisible())
                return m;
        }
        return nullptr;
    };
    const auto entry = [](QMenu* menu) -> QAction* {
        for (QAction* a : menu->actions()) {
            if (a->text() == QStringLiteral("変更後の名前を表示(&N)"))
                return a;
        }
        return nullptr;
    };
    emit view->horizontalHeader()->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(shownMenu());
    QAction* on = entry(shownMenu());
    QVERIFY(on && !on->isChecked());
    shownMenu()->close();
    on->trigger();
    QCOMPARE(captions(), (QStringList{"ファイル名", "変更後", "フォルダ名", "▼"}));

    f.chooseMethod(1);
    f.replaceTexts("", "");
    auto* page = dynamic_cast<ReplacePage*>(f.session.methods.page(1));
    QLineEdit* search = nullptr;
    for (auto* box : f.find<QWidget>("page1")->findChildren<gui::HistoryComboBox*>()) {
        if (box->box() == &page->search)
            search = box->lineEdit();
    }
    search->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    struct Expected {
        const char* name;
        const char* newName;
        const char* why;  // part of the tool tip, empty for none
    };
    const Expected expected[] = {
        {"1a.txt", "1.txt", ""},
        {"1aa.txt", "1.txt", "1 行目"},  // the run gives the name to row 1 first
        {"2.txt", "変更無し", ""},
        {"2a.txt", "同名ファイルが存在します", "同名ファイルが存在します"},
        {"note.txt", "変更無し", ""},
    };
    for (int row = 0; row < 5; ++row) {
        const Expected& e = expected[row];
        QCOMPARE(f.cell(row), QString::fromUtf8(e.name));
        QTRY_COMPARE(f.cell(row, 1), QString::fromUtf8(e.newName));
        const QModelIndex cell = model->index(row, 1);
        // The marks come with the last batch.
        QTRY_VERIFY2(*e.why == 0 || cell.data(Qt::AccessibleDescriptionRole).isValid(), e.name);
        const QString why = cell.data(Qt::AccessibleDescriptionRole).toString();
        QVERIFY2(*e.why ? why.contains(QString::fromUtf8(e.why)) : why.isEmpty(), qPrintable(why));
        QCOMPARE(cell.data(Qt::ToolTipRole), cell.data(Qt::AccessibleDescriptionRole));
        QCOMPARE(cell.data(Qt::ForegroundRole).isValid(), *e.why != 0);
    }
    testing::saveScreenshot(*f.window, QStringLiteral("new_names_column"));
    // With automatic avoidance the taken name gets its number, said so in the tip.
    f.click("autoAvoidCheck");
    QTRY_COMPARE(f.cell(3, 1), QStringLiteral("2[1].txt"));
    QVERIFY(model->index(3, 1).data(Qt::ToolTipRole).toString().contains("番号"));
    // A second key follows.
    search->setFocus();
    QTest::keyClick(search, Qt::Key_End);
    QTest::keyClick(search, Qt::Key_A);
    QCOMPARE(search->text(), QStringLiteral("aa"));
    QTRY_COMPARE(f.cell(1, 1), QStringLiteral("1.txt"));
    QTRY_COMPARE(f.cell(0, 1), QStringLiteral("変更無し"));
    QVERIFY(model->index(1, 1).data(Qt::ToolTipRole).toString().isEmpty());

    f.close();
    QCOMPARE(f.session.ini.readInt(u"リスト", u"変更後表示", 0), 1);
    f.open();
    view = f.list();
    model = view->model();
    QCOMPARE(captions(), (QStringList{"ファイル名", "変更後", "フォルダ名", "▼"}));
    // The list's context menu, from the keyboard, switches it off again.
    f.importFiles();
    f.selectRow(0);
    view->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(shownMenu());
    QTest::keyClick(shownMenu(), Qt::Key_N);
    QCOMPARE(captions(), (QStringList{"ファイル名", "フォルダ名", "▼"}));
    f.close();
    QCOMPARE(f.session.ini.readInt(u"リスト", u"変更後表示", 1), 0);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
