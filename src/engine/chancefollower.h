#pragma once

#include "engine/chance.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>

// Keeps a window's figures of the draw chances up to date without ever holding up the user: the
// chances are computed off the user-interface thread as the inputs change, a few milliseconds
// each, and the newest result is handed to show. Inputs that change while a computation runs
// are computed next; a result for inputs that have changed since is dropped.
class ChanceFollower : public QObject
{
    Q_OBJECT

public:
    using Chances = std::array<double, NumberCount>;
    using Show = std::function<void(const DrawInput &input, const Chances &chances)>;

    ChanceFollower(Show show, QObject *parent);
    ~ChanceFollower() override;

    void follow(const DrawInput &input);

private:
    void start();
    void finished();

    Show m_show;
    DrawInput m_input;
    DrawInput m_computing;
    QFutureWatcher<Chances> m_watcher;
};

// "約 18.3%"
QString ChanceText(double chance);

// "強さ 5：最も出やすい 02（約 14.3%）、最も出にくい 43（約 7.4%）": the first number of the
// highest chance and the last of the lowest.
QString MostAndLeastLikely(int strength, const ChanceFollower::Chances &chances);
