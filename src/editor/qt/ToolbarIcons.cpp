// The toolbar's 16 x 15 icons, drawn by code at whatever size and pixel ratio they are shown.
#include "ToolbarIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <memory>

namespace kx {

namespace {

const QColor kInk(0x20, 0x20, 0x28);
const QColor kPaper(0xFC, 0xFC, 0xF4);
const QColor kBlue(0x2F, 0x6F, 0xD0);
const QColor kRed(0xD8, 0x30, 0x28);
const QColor kGreen(0x2E, 0xA0, 0x3C);
const QColor kYellow(0xF0, 0xC0, 0x20);
const QColor kGrey(0x90, 0x90, 0x98);
const QColor kPink(0xF0, 0x88, 0x90);

// Pixel-grid helpers: a cell of the 16 x 15 grid is [x, x+1) x [y, y+1).
void Box(QPainter& p, double x, double y, double w, double h, const QColor& fill,
         const QColor& line = kInk) {
    p.setPen(QPen(line, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
    p.drawRect(QRectF(x + 0.5, y + 0.5, w - 1, h - 1));
}

void Line(QPainter& p, double x1, double y1, double x2, double y2, const QColor& c,
          double width = 1.0) {
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

void Shape(QPainter& p, QPolygonF polygon, const QColor& fill, const QColor& line = kInk) {
    p.setPen(QPen(line, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    polygon.translate(0.5, 0.5);
    p.drawPolygon(polygon);
}

void Disc(QPainter& p, double cx, double cy, double r, const QColor& fill,
          const QColor& line = kInk) {
    p.setPen(QPen(line, 1.0));
    p.setBrush(fill);
    p.drawEllipse(QPointF(cx, cy), r, r);
}

void Page(QPainter& p) {
    Shape(p, QPolygonF({{3, 0}, {10, 0}, {13, 3}, {13, 14}, {3, 14}}), kPaper);
    Line(p, 10, 0, 10, 3, kInk);
    Line(p, 10, 3, 13, 3, kInk);
}

void Arrow(QPainter& p, bool up, double cx, double top, const QColor& fill) {
    const double t = top;
    if (up) {
        Shape(p,
              QPolygonF({{cx, t},
                         {cx + 5, t + 5},
                         {cx + 2, t + 5},
                         {cx + 2, t + 10},
                         {cx - 2, t + 10},
                         {cx - 2, t + 5},
                         {cx - 5, t + 5}}),
              fill);
    } else {
        Shape(p,
              QPolygonF({{cx, t + 10},
                         {cx + 5, t + 5},
                         {cx + 2, t + 5},
                         {cx + 2, t},
                         {cx - 2, t},
                         {cx - 2, t + 5},
                         {cx - 5, t + 5}}),
              fill);
    }
}

void DrawIcon(QPainter& p, ToolbarIcon which) {
    switch (which) {
    case ToolbarIcon::New:
        Page(p);
        Disc(p, 12.5, 11.5, 3, kYellow);
        break;
    case ToolbarIcon::Open:
        Shape(p, QPolygonF({{0, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 13}, {0, 13}}), kYellow);
        Shape(p, QPolygonF({{2, 7}, {15, 7}, {12, 13}, {0, 13}}), QColor(0xF8, 0xDC, 0x70));
        break;
    case ToolbarIcon::Save:
        Box(p, 1, 1, 14, 13, kBlue);
        Box(p, 4, 1, 8, 5, kPaper);
        Box(p, 3, 9, 10, 5, QColor(0xD8, 0xD8, 0xE0));
        Line(p, 9, 2, 9, 4, kInk);
        break;
    case ToolbarIcon::TestLevel:
        Shape(p, QPolygonF({{3, 1}, {14, 7}, {3, 13}}), kGreen);
        break;
    case ToolbarIcon::Check:
        // A magnifying glass over a tick.
        Line(p, 9, 9, 14, 14, kInk, 2.0);
        Disc(p, 6.5, 6.5, 5, kPaper);
        Line(p, 4, 6, 6, 8, kGreen, 1.5);
        Line(p, 6, 8, 9, 4, kGreen, 1.5);
        break;
    case ToolbarIcon::Resize:
        Box(p, 4, 4, 8, 7, QColor(0xC8, 0xE0, 0xF8));
        Line(p, 0, 0, 3, 3, kInk);
        Line(p, 0, 0, 2, 0, kInk);
        Line(p, 0, 0, 0, 2, kInk);
        Line(p, 15, 14, 12, 11, kInk);
        Line(p, 15, 14, 13, 14, kInk);
        Line(p, 15, 14, 15, 12, kInk);
        break;
    case ToolbarIcon::Paint:
        Shape(p, QPolygonF({{11, 1}, {14, 4}, {5, 13}, {1, 14}, {2, 10}}), kYellow);
        Line(p, 2, 10, 5, 13, kInk);
        Shape(p, QPolygonF({{11, 1}, {14, 4}, {12, 6}, {9, 3}}), kPink);
        break;
    case ToolbarIcon::Rectangle:
        Box(p, 1, 2, 14, 11, Qt::transparent, kBlue);
        Box(p, 2, 3, 12, 9, Qt::transparent, kBlue);
        break;
    case ToolbarIcon::FilledRectangle:
        Box(p, 1, 2, 14, 11, kBlue, kInk);
        break;
    case ToolbarIcon::ScrollUp:
        Arrow(p, true, 7.5, 2, kGrey);
        break;
    case ToolbarIcon::ScrollDown:
        Arrow(p, false, 7.5, 2, kGrey);
        break;
    case ToolbarIcon::SwitchLayer:
        Shape(p, QPolygonF({{0, 9}, {7, 6}, {15, 9}, {8, 13}}), kBlue);
        Shape(p, QPolygonF({{0, 5}, {7, 1}, {15, 5}, {8, 9}}), kYellow);
        break;
    case ToolbarIcon::Objects:
        Shape(p, QPolygonF({{1, 5}, {8, 5}, {8, 1}, {14, 7}, {8, 13}, {8, 9}, {1, 9}}), kPaper);
        break;
    case ToolbarIcon::Items: {
        QPainterPath kernel;
        kernel.moveTo(7.5, 14);
        kernel.cubicTo(1, 9, 3, 1, 7.5, 1);
        kernel.cubicTo(12, 1, 14, 9, 7.5, 14);
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(kYellow);
        p.drawPath(kernel);
        Line(p, 6, 4, 6, 7, QColor(0xFF, 0xF4, 0xB0));
        break;
    }
    case ToolbarIcon::Creatures:
        Disc(p, 8, 7.5, 6.5, kPink);
        Disc(p, 5.5, 6, 1.5, Qt::white);
        Disc(p, 10.5, 6, 1.5, Qt::white);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(5.8, 6.3), 0.8, 0.8);
        p.drawEllipse(QPointF(10.8, 6.3), 0.8, 0.8);
        break;
    case ToolbarIcon::Switches: {
        Box(p, 1, 1, 14, 13, QColor(0x40, 0x40, 0x48));
        QFont font = p.font();
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kRed);
        p.drawText(QRectF(1, 1, 14, 13), Qt::AlignCenter, QStringLiteral("1"));
        break;
    }
    case ToolbarIcon::Blocking:
        Disc(p, 8, 7.5, 6.5, kRed);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 6, 9, 3));
        break;
    case ToolbarIcon::Merge:
        Box(p, 0, 4, 7, 7, kRed);
        Box(p, 9, 4, 7, 7, kRed);
        Line(p, 5, 1, 10, 1, kInk);
        Line(p, 5, 13, 10, 13, kInk);
        break;
    case ToolbarIcon::Description:
        Page(p);
        for (int y = 5; y <= 11; y += 2) {
            Line(p, 5, y, y == 11 ? 8 : 11, y, kGrey);
        }
        break;
    case ToolbarIcon::About: {
        Disc(p, 8, 7.5, 6.5, kBlue);
        QFont font = p.font();
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(1, 1, 14, 13), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
}

class CToolbarIconEngine : public QIconEngine {
public:
    explicit CToolbarIconEngine(ToolbarIcon which) : which(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / double(kToolbarIconWidth),
                       rect.height() / double(kToolbarIconHeight));
        if (mode == QIcon::Disabled) {
            painter->setOpacity(0.35);
        }
        DrawIcon(*painter, which);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        // Whole multiples of the 16 x 15 grid keep every line on device pixels.
        const QSize device = size * scale;
        QPixmap picture(device);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            paint(&painter, QRect(QPoint(0, 0), device), mode, state);
        }
        picture.setDevicePixelRatio(scale);
        return picture;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new CToolbarIconEngine(which); }

private:
    ToolbarIcon which;
};

} // namespace

QIcon MakeToolbarIcon(ToolbarIcon which) {
    // QIcon takes ownership of the engine.
    return QIcon(std::make_unique<CToolbarIconEngine>(which).release());
}

} // namespace kx
