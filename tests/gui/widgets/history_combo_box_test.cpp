#include "gui/widgets/history_combo_box.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "gui/qt_text.h"

using soramine::HistoryBox;
using soramine::gui::HistoryComboBox;
using soramine::gui::qs;

namespace {

QStringList itemsOf(const HistoryComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}

QStringList entriesOf(const HistoryBox& box) {
    QStringList entries;
    for (const auto& e : box.entries)
        entries << qs(e);
    return entries;
}

void rightClickEntry(HistoryComboBox& combo, int row) {
    QAbstractItemView* view = combo.view();
    const QModelIndex index = combo.model()->index(row, 0);
    view->setCurrentIndex(index);
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, view->visualRect(index).center());
}

}  // namespace

class HistoryComboBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void showsAndTakesTheCoreBox();
    void anEmptyListNeverOpens();
    void rightClickDeletesTheHighlightedEntry();
    void deletingTheLastEntryClosesTheListAndKeepsTheText();
};

void HistoryComboBoxTest::showsAndTakesTheCoreBox() {
    HistoryBox box{u"置換", u"変更前", u"new", {u"abc", u"b"}, u"typed"};
    HistoryComboBox combo;
    combo.bind(&box);
    QCOMPARE(combo.box(), &box);
    QCOMPARE(itemsOf(combo), (QStringList{"abc", "b"}));
    QCOMPARE(combo.currentText(), QStringLiteral("typed"));
    combo.show();
    // Typed text is not completed from the list.
    combo.clearEditText();
    QTest::keyClicks(combo.lineEdit(), "a");
    QCOMPARE(combo.currentText(), QStringLiteral("a"));
    combo.setEditText(QStringLiteral("他の文字"));
    combo.takeText();
    QCOMPARE(qs(box.text), QStringLiteral("他の文字"));
    // The list is the core's: pressing Enter adds nothing.
    QTest::keyClick(combo.lineEdit(), Qt::Key_Return);
    QCOMPARE(combo.count(), 2);
}

void HistoryComboBoxTest::anEmptyListNeverOpens() {
    HistoryBox box{u"置換", u"変更前", u"new", {}, u"new"};
    HistoryComboBox combo;
    combo.bind(&box);
    combo.show();
    QTest::mouseClick(&combo, Qt::LeftButton, {}, QPoint(combo.width() - 5, combo.height() / 2));
    QTest::keyClick(&combo, Qt::Key_Down, Qt::AltModifier);
    combo.showPopup();
    QVERIFY(!combo.view()->isVisible());

    box.entries = {u"a"};
    combo.showBox();
    combo.showPopup();
    QVERIFY(combo.view()->isVisible());
    combo.hidePopup();
}

void HistoryComboBoxTest::rightClickDeletesTheHighlightedEntry() {
    HistoryBox box{u"置換", u"変更前", u"new", {u"a", u"b", u"c"}, u"typed"};
    HistoryComboBox combo;
    combo.bind(&box);
    combo.show();
    QSignalSpy deleted(&combo, &HistoryComboBox::entryDeleted);
    combo.showPopup();
    rightClickEntry(combo, 1);
    QCOMPARE(entriesOf(box), (QStringList{"a", "c"}));
    QCOMPARE(itemsOf(combo), (QStringList{"a", "c"}));
    QCOMPARE(combo.currentText(), QStringLiteral("a"));
    QCOMPARE(deleted.count(), 1);
    // The list stays open, and the right click was not taken as a choice.
    QVERIFY(combo.view()->isVisible());
    rightClickEntry(combo, 1);
    QCOMPARE(entriesOf(box), QStringList{"a"});

    // Without an open list a right click deletes nothing.
    combo.hidePopup();
    QTest::mouseClick(&combo, Qt::RightButton);
    QCOMPARE(entriesOf(box), QStringList{"a"});
}

void HistoryComboBoxTest::deletingTheLastEntryClosesTheListAndKeepsTheText() {
    HistoryBox box{u"置換", u"変更前", u"new", {u"only"}, u"only"};
    HistoryComboBox combo;
    combo.bind(&box);
    combo.show();
    combo.setEditText(QStringLiteral("typed"));
    combo.showPopup();
    rightClickEntry(combo, 0);
    QVERIFY(box.entries.empty());
    QCOMPARE(combo.count(), 0);
    QVERIFY(!combo.view()->isVisible());
    QCOMPARE(qs(box.text), QStringLiteral("typed"));
    QCOMPARE(combo.currentText(), QStringLiteral("typed"));
}

QTEST_MAIN(HistoryComboBoxTest)
#include "history_combo_box_test.moc"
