#include "ProgramStart.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

namespace {

// Read as the PNG image it is: guessing the format would load every image
// format plugin of the system first, a noticeable part of the start.
QPixmap PngImage(const QString& path)
{
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon IconOfImages()
{
    QIcon icon;
    for (int size : ProgramIconSizes)
        icon.addPixmap(PngImage(QStringLiteral(":/icons/tavrik-%1.png").arg(size)));
    return icon;
}

// The icon's images are read when something first draws the icon: a window
// system that shows it in a title bar asks for them as the window is made,
// one that takes the icon from the desktop entry never does, and decoding
// them all took a tenth of the start before the first paint.
class ImagesReadWhenDrawn final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Images().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Images().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return pixmap(size, mode, state).size();
    }
    // The sizes the icon is drawn in, as an icon of these images gives them.
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (int size : ProgramIconSizes)
                sizes << QSize(size, size);
        }
        return sizes;
    }
    QIconEngine* clone() const override { return new ImagesReadWhenDrawn(*this); }
    QString key() const override { return QStringLiteral("ImagesReadWhenDrawn"); }

private:
    const QIcon& Images()
    {
        if (images_.isNull())
            images_ = IconOfImages();
        return images_;
    }

    QIcon images_;
};

} // namespace

QIcon ProgramIcon()
{
    // The images live in a static library, whose resources the linker keeps
    // only when asked for by name (outside any namespace).
    Q_INIT_RESOURCE(icons);
    return QIcon(new ImagesReadWhenDrawn);
}
