// Grabs the X screen once a window has been drawn on it, cropped to what was drawn, as PNG.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QThread>

#include <cstdio>

namespace {

// The smallest rectangle holding every pixel that is not the empty screen's black.
QRect DrawnArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) != 0) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    return area;
}

int CountColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            colours.insert(line[x]);
        }
    }
    return static_cast<int>(colours.size());
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screen-grab OUT.png [MIN_COLOURS] [SECONDS]\n");
        return 2;
    }
    const int minColours = argc > 2 ? std::atoi(argv[2]) : 200;
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 20;
    QScreen* screen = QGuiApplication::primaryScreen();
    QImage picture;
    int colours = 0;
    // Waits for the window to be shown and painted; a second look after it seems done
    // catches a frame still being drawn.
    for (int tick = 0; tick < seconds * 10; ++tick) {
        QThread::msleep(100);
        picture = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        colours = CountColours(picture);
        if (colours >= minColours) {
            QThread::msleep(700);
            picture = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
            break;
        }
    }
    const QRect area = DrawnArea(picture);
    std::printf("%d colours, window %dx%d at %d,%d\n", colours, area.width(), area.height(),
                area.x(), area.y());
    if (colours < minColours || area.isEmpty()) {
        std::fprintf(stderr, "screen-grab: nothing was drawn on the screen\n");
        picture.save(QString::fromLocal8Bit(argv[1]));
        return 1;
    }
    return picture.copy(area).save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
