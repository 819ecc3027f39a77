#include "gui/live_names.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/engine/session.h"
#include "core/methods/replace.h"
#include "gui/item_list_model.h"
#include "gui/list_columns.h"
#include "gui_test_support.h"

using namespace soramine;
using gui::LiveMark;
using gui::LiveNamesBatch;

class LiveNamesTest : public QObject {
    Q_OBJECT
  private slots:
    void manyResultsComeInBoundedBatches();
    void theListShowsOnlyTheLatestRequestsNames();
};

// Results that come at once (every name known only at the end with swaps; every item but the
// first clashing) still reach the window's thread in batches it takes in quickly, and
// together they name every row.
void LiveNamesTest::manyResultsComeInBoundedBatches() {
    constexpr std::size_t kItems = 10000;
    constexpr std::size_t kMostRows = 4096;
    struct Case {
        const char* what;
        int allowSwaps;
        std::size_t clashes;  // rows marked as clashing with the first
        std::size_t refused;
    };
    const Case cases[] = {
        {"without swaps: the preview's names, then the clashes", 0, kItems - 1, 0},
        {"with swaps: the run's plan refuses the later ones", 1, 0, kItems - 1},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        auto session = testing::makeSession(dir);
        QVERIFY(session->changeItems([&](ItemTable& table) {
            for (std::size_t i = 0; i < kItems; ++i) {
                const std::string number = std::to_string(i);
                table.append({.name = u"a" + std::u16string(number.begin(), number.end()) + u".txt",
                              .folder = u"/nonexistent/soramine-live/"});
            }
        }));
        session->settings.methodIndex = 1;
        session->settings.allowSwaps = c.allowSwaps;
        auto* page = dynamic_cast<ReplacePage*>(session->methods.page(1));
        page->search.text = u"a*";  // the whole stem: every item becomes "same.txt"
        page->replacement.text = u"same";
        gui::LiveNamesRequest request = gui::liveNamesRequest(*session);
        request.items = std::make_shared<const ItemTable>(session->items());
        request.visibleRows = {0, 30};

        gui::LiveNames live;
        std::vector<std::shared_ptr<const LiveNamesBatch>> batches;
        QEventLoop loop;
        connect(&live, &gui::LiveNames::namesReady, &loop,
                [&](const std::shared_ptr<const LiveNamesBatch>& batch) {
                    batches.push_back(batch);
                    if (batch->complete)
                        loop.quit();
                });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        live.request(std::move(request));
        loop.exec();

        QVERIFY2(!batches.empty() && batches.back()->complete, c.what);
        std::vector<bool> named(kItems, false);
        std::size_t clashes = 0;
        std::size_t refused = 0;
        for (std::size_t b = 0; b < batches.size(); ++b) {
            const LiveNamesBatch& batch = *batches[b];
            QVERIFY2(batch.rows.size() <= kMostRows, c.what);
            QCOMPARE(batch.first, b == 0);
            QCOMPARE(batch.complete, b + 1 == batches.size());
            for (std::size_t i = 0; i < batch.rows.size(); ++i) {
                named[batch.rows[i]] = true;
                clashes += batch.marks[i] == LiveMark::kClash;
                refused += batch.marks[i] == LiveMark::kRefused;
            }
        }
        QVERIFY2(std::find(named.begin(), named.end(), false) == named.end(), c.what);
        QCOMPARE(clashes, c.clashes);
        QCOMPARE(refused, c.refused);
    }
}

// A request's first batch makes every older name stale at once; its later batches add to it.
void LiveNamesTest::theListShowsOnlyTheLatestRequestsNames() {
    QTemporaryDir dir;
    auto session = testing::makeSession(dir);
    QVERIFY(session->changeItems([](ItemTable& table) {
        for (const char16_t* name : {u"a", u"b", u"c", u"d"})
            table.append({.name = name, .folder = u"/nonexistent/"});
    }));
    gui::ItemListModel model(*session, gui::shownColumns(session->detail, true));
    const int column = model.newNamesColumn();
    QVERIFY(column >= 0);
    struct Step {
        std::uint64_t generation;
        bool first;
        std::vector<std::size_t> rows;
        QStringList shown;  // the column afterwards
        const char* tip;    // row 3's tool tip afterwards
    };
    const Step steps[] = {
        {1, true, {0, 1, 2, 3}, {"A0", "A1", "A2", "A3"}, ""},
        {2, true, {1}, {"", "B1", "", ""}, ""},
        {2, false, {3}, {"", "B1", "", "B3"}, "why 3"},
        {3, true, {}, {"", "", "", ""}, ""},
    };
    for (const Step& step : steps) {
        gui::LiveNamesBatch batch;
        batch.generation = step.generation;
        batch.first = step.first;
        for (std::size_t row : step.rows) {
            const char16_t letter = step.generation == 1 ? u'A' : u'B';
            batch.rows.push_back(row);
            batch.names.push_back(std::u16string{letter, char16_t(u'0' + row)});
            batch.marks.push_back(step.first ? LiveMark::kNone : LiveMark::kRefused);
            batch.reasons.push_back(step.first ? u""
                                               : u"why " + std::u16string{char16_t(u'0' + row)});
        }
        model.takeNewNames(batch);
        QStringList shown;
        for (int row = 0; row < 4; ++row)
            shown << model.index(row, column).data().toString();
        QCOMPARE(shown, step.shown);
        QCOMPARE(model.index(3, column).data(Qt::ToolTipRole).toString(),
                 QString::fromUtf8(step.tip));
    }
}

QTEST_MAIN(LiveNamesTest)
#include "live_names_test.moc"
