#include "gui/widgets/picture_preview.h"

#include <QPainter>
#include <QThread>
#include <chrono>

namespace soramine::gui {

QRect fittedRect(const QRect& area, const QSize& picture) {
    if (picture.isEmpty() || area.isEmpty())
        return {};
    const qint64 aw = area.width(), ah = area.height();
    const qint64 pw = picture.width(), ph = picture.height();
    QSize size;
    if (ah * pw < aw * ph)
        size = QSize(static_cast<int>(pw * ah / ph), area.height());
    else
        size = QSize(area.width(), static_cast<int>(ph * aw / pw));
    QRect r(QPoint(0, 0), size);
    r.moveCenter(area.center());
    return r;
}

PicturePreview::PicturePreview(QWidget* parent) : QWidget(parent) {}

PicturePreview::~PicturePreview() {
    stop();
}

void PicturePreview::showStill(const QImage& image) {
    stop();
    shown_ = image;
    update();
}

bool PicturePreview::showGif(GifSource source) {
    stop();
    // Only as far as the second frame, which tells an animation: the first frame shows before
    // the rest of the file is read, which the thread does.
    auto start = splitGif(source, 2);
    if (!start)
        return false;
    gif_ = std::move(*start);
    source_ = std::move(source);
    QImage canvas(gif_.width, gif_.height, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(QColor::fromRgb(gif_.background));
    if (gif_.frames.empty()) {
        showStill(canvas);
        return true;
    }
    // The first frame at once; the thread goes on from there.
    QImage under = underFrame(canvas, 0);
    std::string bytes;
    drawFrame(canvas, 0, bytes);
    hand(canvas);
    if (gif_.frames.size() > 1) {
        stopRequested_ = false;
        thread_ = std::thread([this, canvas, under] { animate(canvas, under); });
    }
    return true;
}

void PicturePreview::stop() {
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool PicturePreview::drawFrame(QImage& canvas, std::size_t index, std::string& bytes) const {
    const GifFrame& frame = gif_.frames[index];
    if (!frameGif(gif_, frame, source_, bytes))
        return false;
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                          static_cast<int>(bytes.size()), "GIF");
    if (image.isNull())
        return false;
    QPainter painter(&canvas);
    painter.drawImage(frame.left, frame.top, image);
    return true;
}

QImage PicturePreview::underFrame(const QImage& canvas, std::size_t index) const {
    const GifFrame& frame = gif_.frames[index];
    return frame.disposal == 3 ? canvas.copy(frame.left, frame.top, frame.width, frame.height)
                               : QImage();
}

void PicturePreview::animate(QImage canvas, QImage under) {
    // All the frames (the widget leaves gif_ to this thread while it runs); a file that has
    // changed since its first frame showed is not animated.
    auto all = splitGif(source_);
    if (!all || all->frames.size() < 2)
        return;
    gif_ = std::move(*all);
    std::size_t index = 0;
    std::string bytes;  // each frame's GIF, in memory that is reused
    for (;;) {
        const GifFrame& frame = gif_.frames[index];
        {
            std::unique_lock lock(mutex_);
            if (wake_.wait_for(lock, std::chrono::milliseconds(frameMilliseconds(frame)),
                               [this] { return stopRequested_; }))
                return;
        }
        const QRect area(frame.left, frame.top, frame.width, frame.height);
        if (frame.disposal == 2) {
            QPainter(&canvas).fillRect(area, QColor::fromRgb(gif_.background));
        } else if (frame.disposal == 3 && !under.isNull()) {
            QPainter painter(&canvas);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(area.topLeft(), under);
        }
        index = (index + 1) % gif_.frames.size();
        under = underFrame(canvas, index);
        drawFrame(canvas, index, bytes);
        hand(canvas);
    }
}

void PicturePreview::hand(const QImage& image) {
    if (QThread::currentThread() == thread()) {
        shown_ = image;
        update();
        emit frameShown();
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, image] {
            shown_ = image;
            update();
            emit frameShown();
        },
        Qt::QueuedConnection);
}

void PicturePreview::paintEvent(QPaintEvent*) {
    if (shown_.isNull())
        return;
    // Scaled once for each picture and size, then drawn as it is: scaling an image smoothly
    // is much quicker than drawing it through a smooth transformation, above all the first
    // time, when the window opens.
    const QRect target = fittedRect(rect(), shown_.size());
    if (scaled_.size() != target.size() || scaledFrom_ != shown_.cacheKey()) {
        scaled_ = shown_.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaledFrom_ = shown_.cacheKey();
    }
    QPainter(this).drawImage(target.topLeft(), scaled_);
}

}  // namespace soramine::gui
