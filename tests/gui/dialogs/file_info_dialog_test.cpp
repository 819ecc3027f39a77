#include "gui/dialogs/file_info_dialog.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>

#include "core/methods/method_list.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/item_list_view.h"
#include "gui/main_window.h"
#include "gui/widgets/picture_preview.h"
#include "gui_fixture.h"
#include "support/gif_writer.h"
#include "support/temp_dir.h"

using namespace soramine;
using testing::GifFrameSpec;
using testing::makeGif;

namespace {

QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// Records the URLs the program asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    UrlRecorder() {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlRecorder() override {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace

class FileInfoDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void showsSizeAndTimesInItsTexts();
    void animatesAGifAndStopsBeforeClosing();
    void disposalsAndASingleFrame();
    void firstFrameShowsBeforeTheRestIsRead();
    void picturesFitTheirArea();
    void windowOpensItForOneRow();
    void aboutShowsTheVersionAndOpensTheWebPage();
};

void FileInfoDialogTest::showsSizeAndTimesInItsTexts() {
    testing::TempDir dir;
    const auto file = dir.write("メモ.txt", std::string(1234, 'x'));
    gui::FileInfoDialog dialog(gui::corePath(qpath(file)));
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ファイル情報"));
    const QString text = dialog.text();
    QVERIFY2(text.startsWith(
                 QStringLiteral(" ﾌｧｲﾙｻｲｽﾞ\t1,234ﾊﾞｲﾄ\n --------------------------------------\n"
                                " 作成日時\t")),
             qPrintable(text));
    const QRegularExpression dates(
        QStringLiteral(" 更新日時\t\\d{4}年\\d\\d月\\d\\d日、\\d\\d:\\d\\d:\\d\\d\n "
                       "ｱｸｾｽ日時\t\\d{4}年\\d\\d月\\d\\d日、"
                       "\\d\\d:\\d\\d:\\d\\d\n$"));
    QVERIFY2(dates.match(text).hasMatch(), qPrintable(text));
    // Each value is shown beside its label.
    QStringList shown;
    for (auto* label : dialog.findChildren<QLabel*>())
        shown << label->text();
    QVERIFY(shown.contains(QStringLiteral(" ﾌｧｲﾙｻｲｽﾞ")));
    QVERIFY(shown.contains(QStringLiteral("1,234ﾊﾞｲﾄ")));
    QVERIFY(dialog.preview()->picture().isNull());  // no picture in a text file
}

void FileInfoDialogTest::animatesAGifAndStopsBeforeClosing() {
    testing::TempDir dir;
    // Wider than tall, delays 0: 100 ms a frame.
    const auto file = dir.write(
        "anim.GIF",
        makeGif(40, 20,
                {{0, 0, 40, 20, 0, 0, {}}, {0, 0, 20, 20, 0, 0, {}}, {20, 0, 20, 20, 0, 0, {}}}));
    // Timed from before the animation starts: frames handed over while the window was being
    // shown arrive together later, so only the thread's own waits can be counted on.
    QElapsedTimer timer;
    timer.start();
    gui::FileInfoDialog dialog(gui::corePath(qpath(file)));
    dialog.show();
    QVERIFY(dialog.preview()->animating());
    QCOMPARE(dialog.preview()->picture().size(), QSize(40, 20));
    QSignalSpy frames(dialog.preview(), &gui::PicturePreview::frameShown);
    QVERIFY(QTest::qWaitFor([&] { return frames.size() >= 3; }, 5000));
    QVERIFY2(timer.elapsed() >= 300, "three frames after the first, 100 ms each");
    testing::saveScreenshot(dialog, QStringLiteral("file_info_dialog"));
    dialog.accept();
    QVERIFY(!dialog.preview()->animating());
}

void FileInfoDialogTest::disposalsAndASingleFrame() {
    // Red screen; green square restored after it (3); blue corner to the background (2);
    // then a green dot that stays.
    const std::string gif = makeGif(4, 4,
                                    {{0, 0, 4, 4, 5, 0, {}},
                                     {1, 1, 2, 2, 5, 3, {2, 2, 2, 2}},
                                     {0, 0, 1, 1, 5, 2, {3}},
                                     {3, 3, 1, 1, 500, 0, {2}}});
    gui::PicturePreview preview;
    QSignalSpy frames(&preview, &gui::PicturePreview::frameShown);
    QVERIFY(preview.showGif(gifBytesSource(gif)));
    QVERIFY(QTest::qWaitFor([&] { return frames.size() >= 4; }, 5000));
    const QImage shown = preview.picture();
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::black));  // disposal 2: background
    QCOMPARE(shown.pixelColor(1, 1), QColor(Qt::red));    // disposal 3: what was under it
    QCOMPARE(shown.pixelColor(3, 3), QColor(Qt::green));
    preview.stop();

    const std::string still = makeGif(3, 3, {{0, 0, 3, 3, 0, 0, {}}});
    QVERIFY(preview.showGif(gifBytesSource(still)));
    QVERIFY(!preview.animating());
    QCOMPARE(preview.picture().pixelColor(1, 1), QColor(Qt::red));
}

void FileInfoDialogTest::firstFrameShowsBeforeTheRestIsRead() {
    // Twenty frames of 50 ms, red, green and blue in turn, far larger than what is read at once.
    std::vector<GifFrameSpec> specs;
    for (int f = 0; f < 20; ++f) {
        GifFrameSpec frame{0, 0, 200, 200, 5, 0, {}};
        frame.pixels.assign(200 * 200, static_cast<std::uint8_t>(f % 3 + 1));
        specs.push_back(std::move(frame));
    }
    const std::string gif = makeGif(200, 200, specs);
    std::atomic<std::size_t> read{0};
    const GifSource bytes = gifBytesSource(gif);
    auto counted = [&](std::uint64_t offset, char* buffer, std::size_t size) {
        const std::size_t n = bytes(offset, buffer, size);
        read += n;
        return n;
    };
    gui::PicturePreview preview;
    QSignalSpy frames(&preview, &gui::PicturePreview::frameShown);
    // What was read when the first frame was handed over (the thread starts after it).
    std::size_t readBeforeFirst = 0;
    connect(&preview, &gui::PicturePreview::frameShown, this, [&] {
        if (readBeforeFirst == 0)
            readBeforeFirst = read;
    });
    QVERIFY(preview.showGif(counted));
    QCOMPARE(preview.picture().pixelColor(0, 0), QColor(Qt::red));
    QVERIFY2(readBeforeFirst > 0 && readBeforeFirst < gif.size() / 4,
             "only the first two frames before the first shows");
    // The thread reads the rest and goes through every frame.
    QVERIFY(QTest::qWaitFor([&] { return frames.size() >= 21; }, 5000));
    QVERIFY(read >= gif.size());
    preview.stop();
    QVERIFY(!preview.showGif(gifBytesSource("GIF88a")));
}

void FileInfoDialogTest::picturesFitTheirArea() {
    const QRect area(0, 0, 400, 300);
    const struct {
        const char* label;
        QSize picture;
        QRect drawn;
    } cases[] = {
        {"wider: fills the width, centred vertically", {200, 50}, {0, 100, 400, 100}},
        {"taller: fills the height, centred", {50, 100}, {125, 0, 150, 300}},
        {"same shape", {4, 3}, {0, 0, 400, 300}},
        {"small pictures grow", {2, 1}, {0, 50, 400, 200}},
        {"no picture", {0, 0}, {}},
    };
    for (const auto& c : cases)
        QVERIFY2(gui::fittedRect(area, c.picture) == c.drawn, c.label);
}

void FileInfoDialogTest::windowOpensItForOneRow() {
    testing::TempDir config, files;
    files.write("a.txt", "a");
    files.write("b.txt", "b");
    RenameSession session{IniFile(config.folder() + u"ソラミネ.ini"), makeMethodTable()};
    session.readIni();
    HistoryMap histories;
    testing::ScriptedPrompts prompts;
    gui::MainWindow window(session, histories, prompts);
    window.show();
    window.importPaths({files.folder()}, PathSource::CommandLine);
    QCOMPARE(session.items().count(), size_t(2));
    auto* list = window.findChild<gui::ItemListView*>(QStringLiteral("itemList"));
    const QRect row = list->visualRect(list->model()->index(1, 0));
    testing::ModalCloser closer;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_COMPARE(closer.titles, QStringList{QStringLiteral("ファイル情報")});
}

void FileInfoDialogTest::aboutShowsTheVersionAndOpensTheWebPage() {
    UrlRecorder urls;
    const QUrl page(QStringLiteral("https://soramine.example.org/"));
    gui::AboutDialog dialog(page, true);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(dialog.versionLabel()->text(), QStringLiteral("ソラミネ　Version 3.60"));
    QCOMPARE(dialog.linkLabel()->text(), page.toString());
    QTest::mouseClick(dialog.linkLabel(), Qt::LeftButton);
    QCOMPARE(urls.opened, QList<QUrl>{page});
    QSignalSpy update(&dialog, &gui::AboutDialog::updateCheckRequested);
    QTest::mouseClick(dialog.updateButton(), Qt::LeftButton);
    QCOMPARE(update.size(), 1);
    testing::saveScreenshot(dialog, QStringLiteral("about_dialog"));
}

QTEST_MAIN(FileInfoDialogTest)
#include "file_info_dialog_test.moc"
