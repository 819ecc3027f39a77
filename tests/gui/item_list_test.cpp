#include <QHeaderView>
#include <QScrollBar>
#include <QtTest>

#include "core/engine/session.h"
#include "gui/item_list_model.h"
#include "gui/item_list_view.h"
#include "gui/list_columns.h"

using namespace soramine;

namespace {

// Counts the cells the view asks for.
class CountingModel final : public gui::ItemListModel {
  public:
    using ItemListModel::ItemListModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole)
            rows.insert(index.row());
        return ItemListModel::data(index, role);
    }
    mutable QSet<int> rows;
};

// A session of `count` rows, without INI file or methods.
struct Rows {
    explicit Rows(size_t count);
    RenameSession session{IniFile(u"/nonexistent/ソラミネ.ini"), MethodTable()};
};

Rows::Rows(size_t count) {
    (void)session.changeItems([&](ItemTable& t) {
        for (size_t i = 0; i < count; ++i)
            t.append(
                Row{u"file" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u".txt",
                    u"/f/", u"2006年03月24日、00:00:00\n", u"", u"1,000"});
    });
}

}  // namespace

class ItemListTest : public QObject {
    Q_OBJECT
  private slots:
    void columnsFollowTheDetailedSettings_data();
    void columnsFollowTheDetailedSettings();
    void scrollingAsksOnlyForVisibleRows();
};

void ItemListTest::columnsFollowTheDetailedSettings_data() {
    QTest::addColumn<int>("created");
    QTest::addColumn<int>("modified");
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("thirdCell");
    QTest::newRow("none") << 0 << 0 << 0 << QStringList{"ファイル名", "フォルダ名", "▼"} << "";
    QTest::newRow("size only") << 0 << 0 << 1
                               << QStringList{"ファイル名", "フォルダ名", "ファイルサイズ", "▼"}
                               << "1,000";
    QTest::newRow("created, date without its line feed")
        << 1 << 0 << 0 << QStringList{"ファイル名", "フォルダ名", "作成日時", "▼"}
        << "2006年03月24日、00:00:00";
    QTest::newRow("all") << 1 << 1 << 1 << QStringList{"ファイル名", "フォルダ名",     "作成日時",
                                                       "更新日時",   "ファイルサイズ", "▼"}
                         << "2006年03月24日、00:00:00";
}

void ItemListTest::columnsFollowTheDetailedSettings() {
    QFETCH(int, created);
    QFETCH(int, modified);
    QFETCH(int, size);
    QFETCH(QStringList, captions);
    QFETCH(QString, thirdCell);
    Rows rows(2);
    const RenameSession& session = rows.session;
    DetailSettings detail = defaultDetailSettings();
    detail.showCreatedColumn = created;
    detail.showModifiedColumn = modified;
    detail.showSizeColumn = size;
    gui::ItemListModel model(session, gui::shownColumns(detail));
    QStringList shown;
    for (int c = 0; c < model.columnCount(); ++c)
        shown << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    QCOMPARE(shown, captions);
    QCOMPARE(model.index(1, 2).data().toString(), thirdCell);
    QCOMPARE(model.index(1, model.columnCount() - 1).data().toString(), QString());  // "▼"
    QVERIFY(!model.index(2, 0).data().isValid());  // past the table
    QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
}

void ItemListTest::scrollingAsksOnlyForVisibleRows() {
    Rows rows(100000);
    const RenameSession& session = rows.session;
    CountingModel model(session, gui::shownColumns(defaultDetailSettings()));
    gui::ItemListView view;
    view.setModel(&model);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const int visible = view.viewport()->height() / view.rowHeight(0) + 2;
    QVERIFY(model.rows.size() <= visible);
    for (int step = 0; step < 5; ++step) {
        model.rows.clear();
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() + 20000);
        QCoreApplication::processEvents();
        view.viewport()->repaint();
        QVERIFY2(!model.rows.isEmpty(), "nothing painted");
        QVERIFY2(model.rows.size() <= visible, qPrintable(QString::number(model.rows.size())));
    }
}

QTEST_MAIN(ItemListTest)
#include "item_list_test.moc"
