// The information window's picture against Qt's own QMovie, offscreen. Each mode prints one
// number; bench/picture.sh compares them.
//   make FILE     writes a 2 MiB GIF of 100 frames (192 x 192, 100 ms each)
//   ours FILE     seconds from opening the information window to its first frame painted
//   movie FILE    the same for the window with Qt's QMovie showing the file in its place,
//                 scaled to the same size
//   cpu FILE      percent of one core the whole process uses while the window animates for
//                 3 s (fails when it showed fewer than 20 frames)
// The information window opens from the main window, which has drawn its texts by then: both
// timed modes draw a text first, so that neither pays for loading the fonts.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <ctime>
#include <string>

#include "gui/dialogs/file_info_dialog.h"
#include "gui/qt_text.h"
#include "gui/widgets/picture_preview.h"
#include "support/gif_writer.h"

using namespace soramine;

namespace {

// Notices the first paint of a widget after its picture is there.
class PaintWatch : public QObject {
  public:
    PaintWatch(QWidget& widget, std::function<bool()> ready) : ready_(std::move(ready)) {
        widget.installEventFilter(this);
    }
    bool painted = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && ready_())
            painted = true;
        return false;
    }

  private:
    std::function<bool()> ready_;
};

int make(const char* path) {
    std::vector<testing::GifFrameSpec> frames;
    for (int f = 0; f < 100; ++f) {
        testing::GifFrameSpec frame{0, 0, 192, 192, 10, 0, {}};
        for (int i = 0; i < 192 * 192; ++i)
            frame.pixels.push_back(static_cast<std::uint8_t>((i / 7 + f + i % 192) % 4));
        frames.push_back(std::move(frame));
    }
    QFile file(QString::fromLocal8Bit(path));
    const std::string gif = testing::makeGif(192, 192, frames);
    return file.open(QIODevice::WriteOnly) && file.write(gif.data(), gif.size()) ? 0 : 1;
}

void waitUntil(const bool& flag) {
    while (!flag)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

int ours(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    gui::FileInfoDialog dialog(gui::corePath(path));
    PaintWatch watch(*dialog.preview(), [&] { return !dialog.preview()->picture().isNull(); });
    dialog.show();
    waitUntil(watch.painted);
    std::printf("%.6f\n", timer.nsecsElapsed() / 1e9);
    return 0;
}

int movie(const QString& path) {
    // The same window around it: the information window of an empty GIF (texts, icon, no
    // picture), its preview area showing the file through a QMovie, scaled and centred as the
    // window's own picture is.
    QTemporaryDir folder;
    const QString blank = folder.filePath(QStringLiteral("blank.gif"));
    QFile(blank).open(QIODevice::WriteOnly);
    QElapsedTimer timer;
    timer.start();
    gui::FileInfoDialog dialog(gui::corePath(blank));
    auto* label = new QLabel;
    label->setAlignment(Qt::AlignCenter);
    auto* area = new QVBoxLayout(dialog.preview());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(label);
    QMovie movie(path);
    // The size the window's own picture gets in the preview's first size.
    movie.setScaledSize(gui::fittedRect(QRect(QPoint(0, 0), dialog.preview()->minimumSize()),
                                        QImageReader(path).size())
                            .size());
    label->setMovie(&movie);
    PaintWatch watch(*label, [&] { return !movie.currentPixmap().isNull(); });
    movie.start();
    dialog.show();
    waitUntil(watch.painted);
    std::printf("%.6f\n", timer.nsecsElapsed() / 1e9);
    return 0;
}

// Shows a label of Japanese text until it has been painted.
void drawText() {
    QLabel label(QStringLiteral("ファイル情報 サイズ 2,083,926 バイト"));
    PaintWatch watch(label, [] { return true; });
    label.show();
    waitUntil(watch.painted);
}

int cpu(const QString& path) {
    gui::FileInfoDialog dialog(gui::corePath(path));
    int frames = 0;
    QObject::connect(dialog.preview(), &gui::PicturePreview::frameShown, [&] { ++frames; });
    dialog.show();
    QCoreApplication::processEvents();
    const std::clock_t start = std::clock();
    QElapsedTimer timer;
    timer.start();
    // An event loop that sleeps between events, as the program's own does.
    QEventLoop loop;
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    const double used = double(std::clock() - start) / CLOCKS_PER_SEC;
    std::printf("%.3f\n", 100.0 * used / (timer.elapsed() / 1000.0));
    if (frames < 20) {
        std::fprintf(stderr, "only %d frames shown in 3 s\n", frames);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "make")
        return make(argv[2]);
    QApplication app(argc, argv);
    const QString path = QString::fromLocal8Bit(argc > 2 ? argv[2] : "");
    if (mode == "ours" || mode == "movie")
        drawText();
    if (mode == "ours")
        return ours(path);
    if (mode == "movie")
        return movie(path);
    if (mode == "cpu")
        return cpu(path);
    std::fputs("usage: soramine-picture-bench make|ours|movie|cpu FILE\n", stderr);
    return 2;
}
