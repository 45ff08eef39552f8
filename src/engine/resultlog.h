#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The result log: one time-stamped line per draw, appended to a plain-text file, and where it,
// the viewer's copy of it and the viewer are.

struct LogSettings
{
    QString logFile; // LogFile: the log's name in the program's folder; empty for nmr.log
    QString logViewer; // LogViewer: the viewer's command
    bool viewerIsFile = false; // whether logViewer names an existing file
};

struct LogPaths
{
    QString log;
    QString copy; // empty without a private folder, where no copy can safely go
    QString viewer;
};

// The folders end in a separator; privateFolder is empty when there is none. The copy is named
// by the log's file name alone, so that neither the copy nor its removal at exit can reach
// outside the private folder. The viewer is the setting when it names an existing file or is
// the default viewer itself, and the default viewer otherwise.
// The viewer's program and its arguments for opening the copy: a viewer setting that names an
// existing file is that program, blanks and all; any other is split into program and arguments.
// The copy's path is always one argument of its own. The viewer is never empty (see below).
QStringList ViewerCommandLine(const QString &viewer, bool viewerIsFile, const QString &copy);

LogPaths ResolveLogPaths(const LogSettings &settings, const QString &programFolder,
    const QString &privateFolder, const QString &defaultViewer);

// "yy/MM/dd hh:mm:ss | " followed by the result and CR LF, in 24-hour local time.
QByteArray LogLine(const QDateTime &when, const QString &result);

// Opens, appends and closes at every draw, creating the file when it is missing. The line is
// written whole or not at all. Any failure is ignored: the draw has already been shown, and
// logging stays switched on.
void AppendLogLine(const QString &path, const QDateTime &when, const QString &result);
// The same for several results at once, in one write: all of them or none.
void AppendLogLines(const QString &path, const QDateTime &when, const QStringList &results);
