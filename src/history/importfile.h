#pragma once

#include "historydatabase.h"

// What reading one file of past results into the database did.
struct ImportReport
{
    bool stored = false; // the file was read and the database took its draws
    int added = 0;
    int present = 0;
    qsizetype rejected = 0; // lines not read, and draws stored before with other numbers
};

// Reads past results from a text and stores its draws in one transaction. Each rejected line
// goes to rejected as it is found.
ImportReport ImportText(HistoryDatabase &database, const QString &text,
    const std::function<void(const RejectedLine &)> &rejected);

// The same for a file's text, in any of the encodings DecodeResults reads. Each rejected line goes
// to rejected as it is found. Anything but an ordinary file (a directory, a FIFO) is not read.
ImportReport ImportFile(HistoryDatabase &database, const QString &path,
    const std::function<void(const RejectedLine &)> &rejected);

// "results.csv: 新規 2,097 回、登録済み 0 回、読めなかった行 3"
QString ImportSummary(const QString &path, const ImportReport &report);
