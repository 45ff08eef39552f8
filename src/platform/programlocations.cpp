#include "programlocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QString helpFolder = u"nmr-help/_RESOURCE"_s;

} // namespace

QString ProgramLocations::settingsFile() const
{
    return QDir::toNativeSeparators(QDir(programDirectory).filePath(u"nmr.ini"_s));
}

QString ProgramLocations::sourcesFile() const
{
    return QDir::toNativeSeparators(QDir(programDirectory).filePath(u"nmr-sources.ini"_s));
}

QString ProgramLocations::historyDatabase() const
{
    return QDir::toNativeSeparators(QDir(programDirectory).filePath(u"nmr-history.sqlite"_s));
}

QString ProgramLocations::toolChoicesFile() const
{
    return QDir::toNativeSeparators(QDir(programDirectory).filePath(u"nmr-tools.ini"_s));
}

ProgramLocations ProgramLocations::portable(const QString &directory)
{
    return {QDir::toNativeSeparators(directory),
        QDir::toNativeSeparators(QDir(directory).filePath(helpFolder))};
}

namespace {

// An installed layout: the settings and log in data, made when missing; the help in help.
ProgramLocations installed(const QString &data, const QString &help)
{
    QDir().mkpath(data);
    return {QDir::toNativeSeparators(data), QDir::toNativeSeparators(QDir::cleanPath(help))};
}

} // namespace

ProgramLocations ProgramLocations::detect()
{
    const QDir executable(QCoreApplication::applicationDirPath());
#ifdef Q_OS_WIN
    // The installer puts its uninstaller beside the program, in a folder that only an
    // administrator may write to; the user's files then go in the roaming application data.
    const QString appData = qEnvironmentVariable("APPDATA");
    if (executable.exists(u"Uninstall.exe"_s) && !appData.isEmpty())
        return installed(QDir::fromNativeSeparators(appData) + u"/Numerisphere"_s,
            executable.filePath(helpFolder));
    return portable(executable.path());
#else
    const QDir shared(executable.filePath(u"../share/numerisphere"_s));
    if (executable.exists(helpFolder) || !shared.exists())
        return portable(executable.path());
    return installed(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/numerisphere"_s,
        shared.filePath(helpFolder));
#endif
}
