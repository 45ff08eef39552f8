#pragma once

#include <QString>

// Where the program keeps its settings and log, and where its help pages stand. A portable copy
// (help folder beside the executable) keeps everything in its own directory; an installed copy
// (data in ../share/numerisphere) keeps the settings and log in the user's data directory,
// since it could never write beside the executable. On Windows an installed copy is one that
// stands beside its uninstaller, and keeps them in %APPDATA%\Numerisphere.
struct ProgramLocations
{
    QString programDirectory;
    QString helpDirectory;

    // The settings file, and the database of past results and saved tickets beside it.
    QString settingsFile() const;
    QString historyDatabase() const;
    QString toolChoicesFile() const; // what the tool windows were last left showing
    QString sourcesFile() const; // the user's own sources of the official results

    static ProgramLocations detect();
    // A portable layout rooted at directory.
    static ProgramLocations portable(const QString &directory);
};
