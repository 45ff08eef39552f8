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

QString ProgramLocations::historyDatabase() const
{
    return QDir::toNativeSeparators(QDir(programDirectory).filePath(u"nmr-history.sqlite"_s));
}

ProgramLocations ProgramLocations::portable(const QString &directory)
{
    return {QDir::toNativeSeparators(directory),
        QDir::toNativeSeparators(QDir(directory).filePath(helpFolder))};
}

ProgramLocations ProgramLocations::detect()
{
    const QDir executable(QCoreApplication::applicationDirPath());
    const QDir shared(executable.filePath(u"../share/numerisphere"_s));
    if (executable.exists(helpFolder) || !shared.exists())
        return portable(executable.path());

    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + u"/numerisphere"_s;
    QDir().mkpath(data);
    return {QDir::toNativeSeparators(data),
        QDir::toNativeSeparators(QDir::cleanPath(shared.filePath(helpFolder)))};
}
