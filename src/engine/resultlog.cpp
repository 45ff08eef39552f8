#include "resultlog.h"

#include <QFile>

QByteArray LogLine(const QDateTime &when, const QString &result)
{
    return when.toString(QStringLiteral("yy/MM/dd HH:mm:ss")).toLatin1() + " | " + result.toLatin1()
        + "\r\n";
}

void AppendLogLine(const QString &path, const QDateTime &when, const QString &result)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(LogLine(when, result));
}
