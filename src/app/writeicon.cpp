// Build tool: writes the application icon for installation, from the one image the program
// draws: as PNG at 16, 32, 48, 64, 128 and 256 pixels (scaled without smoothing, so that the
// 32-pixel art stays sharp), as a scalable SVG of its pixels, and as a Windows icon file.
//   nmr_writeicon <directory>  writes <directory>/<size>/numerisphere.png, numerisphere.svg and
//                              numerisphere.ico

#include "look/appicon.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

namespace {

QImage sized(const QImage &icon, int size)
{
    return icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// A Windows icon file: a directory of images, each stored as PNG, as Windows reads them.
bool writeIco(const QString &path, const QImage &icon)
{
    static constexpr int sizes[] {16, 24, 32, 48, 64, 256};
    static constexpr int headerSize = 6, entrySize = 16;
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(std::size(sizes));
    QByteArray images;
    for (const int size : sizes) {
        QBuffer png;
        if (!png.open(QIODevice::WriteOnly) || !sized(icon, size).save(&png, "PNG"))
            return false;
        // A width and a height of 0 stand for 256.
        out << quint8(size % 256) << quint8(size % 256) << quint8(0) << quint8(0) << quint16(1)
            << quint16(32) << quint32(png.data().size())
            << quint32(headerSize + entrySize * std::size(sizes) + images.size());
        images += png.data();
    }
    QFile ico(path);
    return ico.open(QIODevice::WriteOnly)
        && ico.write(file + images) == file.size() + images.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 1;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    // A build tool makes the folder of an output only for some generators: Ninja does, Make
    // does not.
    if (!QDir().mkpath(out.path()))
        return 1;
    const QImage icon = AppIconImage();
    if (!writeIco(out.filePath(QStringLiteral("numerisphere.ico")), icon))
        return 1;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QString::number(size);
        if (!out.mkpath(folder)
            || !sized(icon, size).save(out.filePath(folder + QStringLiteral("/numerisphere.png"))))
            return 1;
    }
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\" "
                                 "shape-rendering=\"crispEdges\">\n")
                      .arg(icon.width())
                      .arg(icon.height());
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QColor colour = icon.pixelColor(x, y);
            if (colour.alpha() > 0) {
                svg += QStringLiteral(
                    "<rect x=\"%1\" y=\"%2\" width=\"1\" height=\"1\" fill=\"%3\" "
                    "fill-opacity=\"%4\"/>\n")
                           .arg(x)
                           .arg(y)
                           .arg(colour.name())
                           .arg(colour.alphaF());
            }
        }
    }
    QFile file(out.filePath(QStringLiteral("numerisphere.svg")));
    return file.open(QIODevice::WriteOnly)
            && file.write((svg + QStringLiteral("</svg>\n")).toUtf8()) > 0
        ? 0
        : 1;
}
