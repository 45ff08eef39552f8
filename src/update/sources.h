#pragma once

#include "engine/game.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <map>

// Where the official results of a game are fetched from.
struct Source
{
    QList<QUrl> index; // texts listing the published draws, tried in order
    QString draw; // one draw's file; {draw} or {draw:4} stands for its number, padded with zeros
    int firstDraw = 1; // the first draw with a file of its own
    QUrl history; // a whole-history file for a first fill; empty for none

    QUrl drawUrl(int number) const;
    // What the name of a draw's file starts with ("A102"), to find them in an index.
    QString fileStem() const;
};

// The sources of the games, with what was wrong in the files they were read from.
struct Sources
{
    std::map<QString, Source> games; // by the game's key
    QStringList faults; // "nmr-sources.ini 5 行目：…", in Japanese

    const Source *of(const Game &game) const;
};

// The sources the program ships.
QByteArray ShippedSources();

// The shipped sources with every key of the user's file (named userName in the faults) in
// place of the shipped one. A section or key the program does not know, an address that is not
// http or https, and a value it cannot read are told in the faults and not taken; the shipped
// value stays. The files are UTF-8 or code page 932.
Sources ReadSources(const QByteArray &shipped, const QByteArray &user, const QString &userName);

// The same, with the user's file read from its path: a missing file is none, and one that is not
// an ordinary readable file is told.
Sources LoadSources(const QString &userFile);
