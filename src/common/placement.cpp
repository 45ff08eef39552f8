#include "placement.h"

#include "layouts/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

constexpr int centringLift = 128; // twips: a centred window sits slightly above the middle

int centred(int screenPixels, int windowPixels)
{
    const double free = Twips::fromPixels(screenPixels) - Twips::fromPixels(windowPixels);
    return static_cast<int>(std::lrint(free / 2));
}

} // namespace

QPoint CentredTopLeft(const QSize &window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return {Twips::toPixels(centred(screen.width(), window.width())),
        Twips::toPixels(centred(screen.height(), window.height()) - centringLift)};
}
