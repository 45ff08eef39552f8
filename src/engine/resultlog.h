#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The result log: one time-stamped line per draw, appended to a plain-text file.

// "yy/MM/dd hh:mm:ss | " followed by the result and CR LF, in 24-hour local time.
QByteArray LogLine(const QDateTime &when, const QString &result);

// Opens, appends and closes at every draw, creating the file when it is missing. The line is
// written whole or not at all. Any failure is ignored: the draw has already been shown, and
// logging stays switched on.
void AppendLogLine(const QString &path, const QDateTime &when, const QString &result);
