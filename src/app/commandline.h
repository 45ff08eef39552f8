#pragma once

#include "wheels/wheel.h"

#include <QStringList>

#include <optional>

// What the command line asks for, read before any window system is needed and without any user
// interface: the program's start, --help, --version, --import FILE..., --draw N with its lists
// and limit, --wheel LIST with its guarantee, or a usage error with its message in Japanese
// (exit status 2).
struct CommandLine
{
    enum class Action { Start, Help, Version, Import, Draw, Wheel, Refuse };
    Action action = Action::Start;
    QString text; // the help text, or the reason of a refusal
    QStringList files; // for --import
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
