#include "chancefollower.h"

#include <QtConcurrent>

ChanceFollower::ChanceFollower(Show show, QObject *parent)
    : QObject(parent)
    , m_show(std::move(show))
{
    connect(&m_watcher, &QFutureWatcher<Chances>::finished, this, &ChanceFollower::finished);
}

ChanceFollower::~ChanceFollower()
{
    m_watcher.waitForFinished();
}

void ChanceFollower::follow(const DrawInput &input)
{
    m_input = input;
    start();
}

void ChanceFollower::start()
{
    if (m_watcher.isRunning())
        return; // finished() starts again with the newest inputs
    m_computing = m_input;
    m_watcher.setFuture(QtConcurrent::run(DrawChances, m_computing));
}

void ChanceFollower::finished()
{
    if (m_computing == m_input)
        m_show(m_computing, m_watcher.result());
    else
        start();
}

QString ChanceText(double chance)
{
    return QStringLiteral("約 %1%").arg(chance * 100, 0, 'f', 1);
}
