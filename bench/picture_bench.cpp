// The information window's picture against Qt's own QMovie, offscreen. Each mode prints one
// number; bench/picture.sh compares them.
//   make FILE     writes a 2 MiB GIF of 100 frames (192 x 192, 100 ms each)
//   ours FILE     seconds from opening the information window to its first frame painted
//   movie FILE    the same for a QLabel showing a QMovie of the file
//   cpu FILE      percent of one core the process uses while the window animates for 3 s

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMovie>
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
    QElapsedTimer timer;
    timer.start();
    QLabel label;
    label.resize(360, 270);
    QMovie movie(path);
    label.setMovie(&movie);
    PaintWatch watch(label, [&] { return !movie.currentPixmap().isNull(); });
    movie.start();
    label.show();
    waitUntil(watch.painted);
    std::printf("%.6f\n", timer.nsecsElapsed() / 1e9);
    return 0;
}

int cpu(const QString& path) {
    gui::FileInfoDialog dialog(gui::corePath(path));
    dialog.show();
    QCoreApplication::processEvents();
    const std::clock_t start = std::clock();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    const double used = double(std::clock() - start) / CLOCKS_PER_SEC;
    std::printf("%.3f\n", 100.0 * used / (timer.elapsed() / 1000.0));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "make")
        return make(argv[2]);
    QApplication app(argc, argv);
    const QString path = QString::fromLocal8Bit(argc > 2 ? argv[2] : "");
    if (mode == "ours")
        return ours(path);
    if (mode == "movie")
        return movie(path);
    if (mode == "cpu")
        return cpu(path);
    std::fputs("usage: soramine-picture-bench make|ours|movie|cpu FILE\n", stderr);
    return 2;
}
