// Draws the program's icon once for each size it ships in, from one design
// on a grid of 32 units: every edge of the letter falls on a whole pixel of
// its size, so no size is a blurred scaling of another. Run by hand after a
// change of the design:
//   cmake --build build --target tavrik-draw-icons && build/tavrik-draw-icons app/start/icons

#include "ProgramStart.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

const QColor Outline(14, 40, 48);
const QColor TopFill(38, 111, 128);
const QColor BottomFill(21, 69, 84);
const QColor Letter(250, 186, 56);
const QColor Shadow(14, 40, 48, 200);

// A length of the 32-unit design in whole pixels of the given size.
int Snap(double units, int size)
{
    return static_cast<int>(std::lround(units * size / 32.0));
}

QRect SnappedRect(double left, double top, double right, double bottom, int size)
{
    return QRect(QPoint(Snap(left, size), Snap(top, size)),
                 QPoint(Snap(right, size) - 1, Snap(bottom, size) - 1));
}

void DrawTile(QPainter& painter, int size)
{
    const int border = std::max(1, Snap(1, size));
    const double radius = size * 5.0 / 32.0;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Outline);
    painter.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);
    QLinearGradient fill(0, border, 0, size - border);
    fill.setColorAt(0, TopFill);
    fill.setColorAt(1, BottomFill);
    painter.setBrush(fill);
    const QRectF inner(border, border, size - 2 * border, size - 2 * border);
    painter.drawRoundedRect(inner, radius - border, radius - border);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void DrawLetter(QPainter& painter, int size, QPoint offset, const QColor& colour)
{
    painter.setBrush(colour);
    painter.drawRect(SnappedRect(6, 6, 26, 12, size).translated(offset));
    painter.drawRect(SnappedRect(12, 12, 20, 26, size).translated(offset));
}

QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawTile(painter, size);
    // Below 24 pixels a shadow would only smear the letter.
    if (size >= 24) {
        const int shift = Snap(1, size);
        DrawLetter(painter, size, QPoint(-shift, shift), Shadow);
    }
    DrawLetter(painter, size, QPoint(0, 0), Letter);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrik-draw-icons FOLDER\n");
        return 2;
    }
    for (int size : ProgramIconSizes) {
        const QString path =
            QStringLiteral("%1/tavrik-%2.png").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!DrawIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
