#include "resultlog.h"

#include <QFile>

QByteArray LogLine(const QDateTime &when, const QString &result)
{
    return when.toString(QStringLiteral("yy/MM/dd HH:mm:ss")).toLatin1() + " | " + result.toLatin1()
        + "\r\n";
}

void AppendLogLine(const QString &path, const QDateTime &when, const QString &result)
{
    // A line is appended whole or not at all: after a short or failed write (a full disk), the
    // file is cut back to its previous length, so that no fragment is left for the next line
    // to be glued onto.
    // Unbuffered, so that nothing of a failed write is left to be flushed when the file closes.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    const qint64 before = file.size();
    const QByteArray line = LogLine(when, result);
    if (file.write(line) != line.size())
        file.resize(before);
}
