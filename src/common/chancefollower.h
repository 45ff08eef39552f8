#pragma once

#include "engine/chance.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <functional>

// Keeps a window's figures of the draw chances up to date without ever holding up the user:
// once the inputs have rested for about 100 ms, the chances are computed off the user-interface
// thread (a birthday at a high strength takes most of a second), and the newest result is
// handed to show. A result for inputs that have changed since is dropped.
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
    QTimer m_pause;
    DrawInput m_input;
    DrawInput m_computing;
    QFutureWatcher<Chances> m_watcher;
};

// "約 18.3%"
QString ChanceText(double chance);
