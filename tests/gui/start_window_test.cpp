// Starts the real soramine on an X display (the test runs under xvfb-run), waits until its
// window is painted and saves a picture of the screen.

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The box of the screen that is not background (Xvfb's root is black).
QRect paintedArea(const QImage& image) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); y += 2) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            if (qGray(line[x]) > 40) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

class StartWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void programShowsItsWindow();
};

void StartWindowTest::programShowsItsWindow() {
    QTemporaryDir config, files;
    QFile(files.filePath(QStringLiteral("写真.jpg"))).open(QIODevice::WriteOnly);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(SORAMINE_PROGRAM), {files.path()});
    QVERIFY(program.waitForStarted());

    // Painted when the window covers at least its minimum size and two looks agree.
    QScreen* screen = QGuiApplication::primaryScreen();
    QImage last;
    QRect area;
    bool settled = false;
    for (int i = 0; i < 200 && !settled; ++i) {
        QTest::qWait(100);
        QVERIFY2(program.state() == QProcess::Running, "soramine ended early");
        const QImage now = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        area = paintedArea(now);
        settled = area.width() >= 700 && area.height() >= 540 && now == last;
        last = now;
    }
    QVERIFY2(settled, "no painted window appeared");
    // The first size leaves room for a window manager's title bar and borders on this
    // 1024x768 screen, so the status bar at the window's bottom stays on the screen.
    QVERIFY2(area.height() <= 768 - 48 && area.width() <= 1024 - 16,
             qPrintable(QStringLiteral("%1x%2").arg(area.width()).arg(area.height())));
    QDir().mkpath(QStringLiteral(SORAMINE_SCREENSHOTS));
    QVERIFY(last.copy(area).save(QStringLiteral(SORAMINE_SCREENSHOTS "/start_window.png")));
    program.terminate();
    QVERIFY(program.waitForFinished(10000));
}

QTEST_MAIN(StartWindowTest)
#include "start_window_test.moc"
