#include "gui/pages/attribute_page_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>

#include "core/methods/attributes.h"
#include "gui_test_support.h"

using soramine::AttributePage;
using soramine::gui::AttributePageWidget;
using soramine::testing::named;

class AttributePageTest : public QObject {
    Q_OBJECT
  private slots:
    void boxesInTabOrderSetTheSettings();
};

void AttributePageTest::boxesInTabOrderSetTheSettings() {
    soramine::testing::PageUnderTest<AttributePage, AttributePageWidget> test(12);
    soramine::testing::saveScreenshot(&test.page, QStringLiteral("attribute_page"));
    for (const char* name : {"読み取り専用(E)", "隠しファイル(H)", "圧縮(I)"})
        QVERIFY(!named<QCheckBox>(&test.page, name)->isChecked());
    // Tab moves from box to box in their order; the space bar ticks the focused one.
    test.page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&test.page));
    named<QCheckBox>(&test.page, "読み取り専用(E)")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    test.page.takeSettings();
    QCOMPARE(test.core->settings.readOnly, 0);
    QCOMPARE(test.core->settings.hidden, 1);
    QCOMPARE(test.core->settings.compressed, 1);
}

QTEST_MAIN(AttributePageTest)
#include "attribute_page_test.moc"
