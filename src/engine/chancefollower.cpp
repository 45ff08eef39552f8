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

QString MostAndLeastLikely(int strength, const ChanceFollower::Chances &chances)
{
    const auto most = std::max_element(chances.begin(), chances.end());
    const auto least = std::min_element(chances.rbegin(), chances.rend()).base() - 1;
    const auto number = [&](auto at) {
        return QStringLiteral("%1").arg(at - chances.begin() + 1, 2, 10, QChar(u'0'));
    };
    return QStringLiteral("強さ %1：最も出やすい %2（%3）、最も出にくい %4（%5）")
        .arg(strength)
        .arg(number(most), ChanceText(*most), number(least), ChanceText(*least));
}
