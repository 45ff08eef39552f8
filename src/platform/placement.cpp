#include "placement.h"

#include "layouts/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

constexpr int centringLift = 128; // twips: a centred window sits slightly above the middle
constexpr int titleBarPixels = 16; // what must show of a window's top for the user to drag it

int centred(int screenPixels, int windowPixels)
{
    const double free = Twips::fromPixels(screenPixels) - Twips::fromPixels(windowPixels);
    return static_cast<int>(std::lrint(free / 2));
}

} // namespace

QPoint StartingTopLeft(bool centred, const QPoint &stored, const QSize &frame)
{
    return !centred && TitleBarOnAScreen(QRect(stored, frame)) ? stored : CentredTopLeft(frame);
}

bool TitleBarOnAScreen(const QRect &frame)
{
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), titleBarPixels));
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(titleBar))
            return true;
    }
    return false;
}

QPoint CentredTopLeft(const QSize &window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return {Twips::toPixels(centred(screen.width(), window.width())),
        Twips::toPixels(centred(screen.height(), window.height()) - centringLift)};
}
