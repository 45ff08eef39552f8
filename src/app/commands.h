#pragma once

#include "commandline.h"

#include <QStringList>

// What --import, --draw, --wheel and --export do, each answering on the console with the exit
// status.

// Reads each file into the database beside the settings: a line for each file on standard
// output, each rejected line on standard error, and the share done while a file is read when
// standard output is a terminal. 0 when every line was stored or already present, 1 when a file
// could not be read, held no draw, or a line was rejected (the good lines are stored).
// Without a game given, each file is its header's game's, and lines without a header the 6-of-43
// game's.
int RunImport(const QStringList &files, const Game *game);

// Prints tickets drawn as the tickets window draws them, with the settings it would use; writes
// nothing. 2 for a list that is wrong, 1 when the tickets cannot be made.
int RunDraw(const Game &game, int count, const QString &fixedText, const QString &excludedText,
    int overlap);

// Prints a wheel over the chosen numbers: its tickets a line each, then what it costs, the
// guarantee as checked, the chance table and the expected winning tickets; writes nothing. 2 for
// a list that is wrong, 1 when the limit leaves the guarantee unmet.
int RunWheel(const CommandLine &line);
// Writes the game's stored draws in its official layout, the bytes the window's export writes.
// 1 when nothing is stored or the file cannot be written, saying which.
int RunExport(const Game &game, const QString &path, bool codePage932);

// Fetches the latest results of the game, or of every game without one, from their sources: a
// line for each game and the grades of the saved tickets of the draws that came on standard
// output, what went wrong on standard error, and what is being fetched while it runs when
// standard output is a terminal. 0 when every source answered, 1 when one failed or an answer
// was refused (what came before stays stored).
int RunUpdate(const Game *game);
