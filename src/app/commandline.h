#pragma once

#include "wheels/wheel.h"

#include <QStringList>

#include <optional>

// What the command line asks for, read before any window system is needed and without any user
// interface: the program's start, --help, --version, --import FILE..., --draw N with its lists
// and limit, --wheel LIST with its guarantee, --export FILE with its encoding, --update, each for
// the game --game names, or a usage error with its message in Japanese (exit status 2).
struct CommandLine
{
    enum class Action { Start, Help, Version, Import, Draw, Wheel, Export, Update, Refuse };
    Action action = Action::Start;
    QString text; // the help text, or the reason of a refusal
    // --game; none when not given, which --import reads as each file's own game, --update as
    // every game and the others as the 6-of-43 game.
    const Game *game = nullptr;
    QStringList files; // for --import, or the one --export writes
    bool codePage932 = false; // --encoding cp932 rather than UTF-8
    int count = 0; // for --draw
    QString fixed;
    QString excluded;
    int overlap = 5;
    QString chosen; // for --wheel
    Guarantee guarantee;
    std::optional<int> most; // --max
    std::optional<quint32> seed; // --seed
};

// arguments as QCoreApplication::arguments() gives them, the program's name first.
CommandLine ParseCommandLine(const QStringList &arguments);
