#include "gui/pages/page_factory.h"

#include <QLabel>
#include <QTest>

#include "gui/pages/add_text_page_widget.h"
#include "gui/pages/attribute_page_widget.h"
#include "gui/pages/conversion_page_widget.h"
#include "gui/pages/date_page_widget.h"
#include "gui/pages/delete_extract_page_widget.h"
#include "gui/pages/extension_page_widget.h"
#include "gui/pages/hash_name_page_widget.h"
#include "gui/pages/mp3_tag_page_widget.h"
#include "gui/pages/numbering_page_widget.h"
#include "gui/pages/random_name_page_widget.h"
#include "gui/pages/replace_page_widget.h"
#include "gui/pages/script_page_widget.h"
#include "gui/pages/split_reorder_page_widget.h"
#include "gui/pages/text_lines_page_widget.h"
#include "gui/pages/timestamp_page_widget.h"
#include "gui/pages/unavailable_page_widget.h"
#include "gui_test_support.h"

using namespace soramine::gui;

class PageFactoryTest : public QObject {
    Q_OBJECT
  private slots:
    void eachMethodGetsItsPage();
};

void PageFactoryTest::eachMethodGetsItsPage() {
    QTemporaryDir dir;
    auto session = soramine::testing::makeSession(dir);
    QWidget host;
    QVERIFY(qobject_cast<NumberingPageWidget*>(makeMethodPageWidget(0, *session, &host)));
    QVERIFY(qobject_cast<ReplacePageWidget*>(makeMethodPageWidget(1, *session, &host)));
    QVERIFY(qobject_cast<AddTextPageWidget*>(makeMethodPageWidget(2, *session, &host)));
    QVERIFY(qobject_cast<AddTextPageWidget*>(makeMethodPageWidget(2, *session, &host)));
    QVERIFY(qobject_cast<TextLinesPageWidget*>(makeMethodPageWidget(8, *session, &host)));
    QVERIFY(qobject_cast<RandomNamePageWidget*>(makeMethodPageWidget(10, *session, &host)));
    QVERIFY(qobject_cast<TimestampPageWidget*>(makeMethodPageWidget(6, *session, &host)));
    QVERIFY(qobject_cast<DatePageWidget*>(makeMethodPageWidget(7, *session, &host)));
    QVERIFY(qobject_cast<SplitReorderPageWidget*>(makeMethodPageWidget(11, *session, &host)));
    QVERIFY(qobject_cast<AttributePageWidget*>(makeMethodPageWidget(12, *session, &host)));
    QVERIFY(qobject_cast<HashNamePageWidget*>(makeMethodPageWidget(9, *session, &host)));
    QVERIFY(qobject_cast<Mp3TagPageWidget*>(makeMethodPageWidget(4, *session, &host)));
    QVERIFY(qobject_cast<DeleteExtractPageWidget*>(makeMethodPageWidget(3, *session, &host)));
    QVERIFY(qobject_cast<ExtensionPageWidget*>(makeMethodPageWidget(5, *session, &host)));
    QVERIFY(qobject_cast<ConversionPageWidget*>(makeMethodPageWidget(14, *session, &host)));
    QVERIFY(qobject_cast<ScriptPageWidget*>(makeMethodPageWidget(13, *session, &host)));
    // An index from a damaged INI names no method: the page says it cannot be used.
    QVERIFY(qobject_cast<UnavailablePageWidget*>(makeMethodPageWidget(99, *session, &host)));
}

QTEST_MAIN(PageFactoryTest)
#include "page_factory_test.moc"
