#include "appicon.h"

#include <QPainter>
#include <QPainterPath>

QImage AppIconImage()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);

    // The pale blue card, behind the face on the right.
    p.setPen(QColor(0, 0, 128));
    p.setBrush(QColor(192, 220, 255));
    p.drawRect(15, 3, 15, 20);
    p.setPen(QColor(0, 0, 255));
    for (int y = 7; y <= 15; y += 4)
        p.drawLine(18, y, 27, y);

    // The face, large and close up on the left.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(1, 4, 21, 22);
    p.setBrush(Qt::black);
    p.drawEllipse(6, 10, 3, 4);
    p.drawEllipse(14, 10, 3, 4);
    QPainterPath smile;
    smile.moveTo(6, 18);
    smile.quadTo(11.5, 24, 17, 18);
    p.setBrush(Qt::NoBrush);
    p.drawPath(smile);

    // "NMR" in red, green and blue, pixel-drawn letters 5 high.
    struct Glyph
    {
        int left;
        const char *rows[5];
        QColor colour;
    };
    static const Glyph letters[3] = {
        {17, {"X..X", "XX.X", "X.XX", "X..X", "X..X"}, QColor(255, 0, 0)},
        {22, {"X...X", "XX.XX", "X.X.X", "X...X", "X...X"}, QColor(0, 128, 0)},
        {28, {"XXX.", "X..X", "XXX.", "X.X.", "X..X"}, QColor(0, 0, 255)},
    };
    p.end();
    for (const Glyph &glyph : letters) {
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; glyph.rows[row][column] != '\0'; ++column) {
                if (glyph.rows[row][column] == 'X')
                    image.setPixelColor(glyph.left + column, 26 + row, glyph.colour);
            }
        }
    }

    // Sixteen colours, one of them kept for transparency.
    const QList<QRgb> palette {
        qRgba(0, 0, 0, 0),
        qRgb(0, 0, 0),
        qRgb(255, 255, 255),
        qRgb(255, 255, 0),
        qRgb(255, 0, 0),
        qRgb(0, 128, 0),
        qRgb(0, 0, 255),
        qRgb(192, 220, 255),
        qRgb(0, 0, 128),
        qRgb(128, 128, 128),
        qRgb(192, 192, 192),
        qRgb(128, 128, 0),
        qRgb(128, 0, 0),
        qRgb(0, 255, 255),
        qRgb(255, 0, 255),
        qRgb(0, 128, 128),
    };
    return image.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
}

QIcon AppIcon()
{
    return QIcon(QPixmap::fromImage(AppIconImage()));
}
