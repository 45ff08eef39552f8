#pragma once

#include "drawstore.h"

// What reading one file or text of past results into the database did.
struct ImportReport
{
    QString failure; // why nothing was stored, in Japanese; empty when the draws were stored
    bool busy = false; // the failure is another program's lock, which passes
    bool cancelled = false; // stopped on request: nothing was stored
    int added = 0;
    int completed = 0; // stored draws whose missing fields the read filled in
    int present = 0;
    qsizetype rejected = 0; // lines not read, and lines in conflict with a stored draw
    QString missing; // the draws missing between stored ones after the read, or empty

    bool stored() const { return failure.isEmpty() && !cancelled; }
};

// Asked now and then with the share of the work done, from 0 to 1; false cancels the import.
using ImportProgress = std::function<bool(double)>;

// Whose results a text is taken for: the store's game, or the game its header names, which the
// store then takes (a text without such a header stays the store's game's).
enum class ImportGame { Store, FromHeader };

// Reads past results of the store's game from a text and stores its draws in one transaction,
// noting source as where they came from. Each rejected line goes to rejected as it is found. A
// text that is no past results, that is another game's, or that holds no draw, is a failure.
ImportReport ImportText(DrawStore &store, const QString &text, const QString &source,
    const std::function<void(const RejectedLine &)> &rejected, const ImportProgress &progress = {},
    ImportGame game = ImportGame::Store);

// The same for a file's text, in any of the encodings DecodeResults reads. Anything but an
// ordinary, readable file (a directory, a FIFO, a missing file) is not read, and the failure
// says why.
ImportReport ImportFile(DrawStore &store, const QString &path,
    const std::function<void(const RejectedLine &)> &rejected, const ImportProgress &progress = {},
    ImportGame game = ImportGame::Store);

// "新規 2,097 回、補完 0 回、登録済み 0 回、読めなかった行 3", then the missing draws; or the
// failure.
QString ImportCounts(const ImportReport &report);
// The same after the file's name: "results.csv: 新規 …".
QString ImportSummary(const QString &path, const ImportReport &report);
