#include "mainpanel.h"

#include "layouts/mainlayout.h"
#include "layouts/twips.h"

#include <QPainter>

namespace {

QColor colourOf(ColourRole role, const QPalette &palette)
{
    switch (role) {
    case ColourRole::ButtonShadow:
        return palette.color(QPalette::Dark);
    case ColourRole::Highlight3D:
        return palette.color(QPalette::Light);
    case ColourRole::DarkShadow3D:
        return palette.color(QPalette::Shadow);
    }
    return palette.color(QPalette::WindowText);
}

} // namespace

MainPanel::MainPanel(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(
        Twips::toPixels(MainLayout::ClientWidth), Twips::toPixels(MainLayout::ClientHeight));
}

void MainPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // A line covers its end points and, when wider than a pixel, grows right or down from its
    // coordinates, so that the two lines of an etched pair each keep their own pixel rows.
    auto draw = [&](const PanelLine &line) {
        const QPoint from(Twips::toPixels(line.x1), Twips::toPixels(line.y1));
        const QPoint to(Twips::toPixels(line.x2), Twips::toPixels(line.y2));
        const QPoint width = from.y() == to.y() ? QPoint(0, line.widthPixels - 1)
                                                : QPoint(line.widthPixels - 1, 0);
        painter.fillRect(QRect(from, to + width), colourOf(line.colour, palette()));
    };
    for (const PanelLine &line : MainLayout::Line1)
        draw(line);
    for (const PanelLine &line : MainLayout::Line2)
        draw(line);

    // Shp1: one pixel outside the slider on every side.
    const TwipsRect &frame = MainLayout::Shp1;
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(Twips::toPixels(frame.left), Twips::toPixels(frame.top),
        Twips::toPixels(frame.width) - 1, Twips::toPixels(frame.height) - 1);
}
