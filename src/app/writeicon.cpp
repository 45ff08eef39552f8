// Build tool: writes the application icon for installation, from the one image the program
// draws: as PNG at 16, 32, 48, 64, 128 and 256 pixels (scaled without smoothing, so that the
// 32-pixel art stays sharp) and as a scalable SVG of its pixels.
//   nmr_writeicon <directory>  writes <directory>/<size>/numerisphere.png and numerisphere.svg

#include "look/appicon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 1;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QImage icon = AppIconImage();
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QString::number(size);
        if (!out.mkpath(folder)
            || !icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(out.filePath(folder + QStringLiteral("/numerisphere.png"))))
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
