#include "resultlog.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

using namespace Qt::StringLiterals;

QStringList ViewerCommandLine(const QString &viewer, bool viewerIsFile, const QString &copy)
{
    return (viewerIsFile ? QStringList {viewer} : QProcess::splitCommand(viewer)) << copy;
}

LogPaths ResolveLogPaths(const LogSettings &settings, const QString &programFolder,
    const QString &privateFolder, const QString &defaultViewer)
{
    const QString logName = settings.logFile.isEmpty() ? u"nmr.log"_s : settings.logFile;
    QString copyName = QFileInfo(logName).fileName();
    if (copyName.isEmpty() || copyName == u"."_s || copyName == u".."_s)
        copyName = u"nmr.log"_s;
    const bool ownViewer = !settings.logViewer.isEmpty()
        && (settings.viewerIsFile || settings.logViewer == defaultViewer);
    return {programFolder + logName, privateFolder.isEmpty() ? QString() : privateFolder + copyName,
        ownViewer ? settings.logViewer : defaultViewer};
}

QByteArray LogLine(const QDateTime &when, const QString &result)
{
    return when.toString(QStringLiteral("yy/MM/dd HH:mm:ss")).toLatin1() + " | " + result.toLatin1()
        + "\r\n";
}

void AppendLogLine(const QString &path, const QDateTime &when, const QString &result)
{
    AppendLogLines(path, when, {result});
}

void AppendLogLines(const QString &path, const QDateTime &when, const QStringList &results)
{
    // Lines are appended whole or not at all: after a short or failed write (a full disk), the
    // file is cut back to its previous length, so that no fragment is left for the next line
    // to be glued onto.
    // Unbuffered, so that nothing of a failed write is left to be flushed when the file closes.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    const qint64 before = file.size();
    QByteArray lines;
    for (const QString &result : results)
        lines += LogLine(when, result);
    if (file.write(lines) != lines.size())
        file.resize(before);
}
