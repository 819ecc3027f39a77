#pragma once

#include <QImage>
#include <QWidget>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/items/gif_frames.h"

namespace soramine::gui {

// The rectangle a picture of `picture` size is drawn in within `area`: as large as fits with
// its aspect ratio kept, centred. The height fills the area when area height x picture width
// is less than area width x picture height, else the width does.
QRect fittedRect(const QRect& area, const QSize& picture);

// A still picture or an animated GIF, drawn fitted into the widget. A GIF of more than one
// frame is animated by a thread of its own: it composes each frame on the logical screen
// (with the frames' disposals) and hands the result over to be drawn; it ends, and is waited
// for, when the animation stops or the widget goes.
class PicturePreview final : public QWidget {
    Q_OBJECT
  public:
    explicit PicturePreview(QWidget* parent = nullptr);
    ~PicturePreview() override;

    void showStill(const QImage& image);
    // Shows the first frame of the GIF that `source` reads and, with more than one, starts
    // the animation, which reads each frame's data from it as it draws it. False when the
    // source holds no GIF (nothing changes then).
    bool showGif(GifSource source);
    void stop();

    bool animating() const { return thread_.joinable(); }
    // The picture as drawn last (the logical screen for a GIF), before fitting.
    const QImage& picture() const { return shown_; }

  signals:
    // A new frame was handed over (for tests and measurements).
    void frameShown();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The thread: `canvas` shows the first frame, `under` what that frame covers.
    void animate(QImage canvas, QImage under);
    // What frame `index` will cover on `canvas`, kept when its disposal restores it.
    QImage underFrame(const QImage& canvas, std::size_t index) const;
    // Draws frame `index` onto `canvas`, made a GIF of its own in `bytes`; false when it
    // cannot be read or decoded.
    bool drawFrame(QImage& canvas, std::size_t index, std::string& bytes) const;
    void hand(const QImage& image);

    GifAnimation gif_;
    GifSource source_;
    QImage shown_;
    QImage scaled_;  // shown_ as last drawn, and which image it was
    qint64 scaledFrom_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
};

}  // namespace soramine::gui
