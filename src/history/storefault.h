#pragma once

#include <QString>

class QSqlError;

// What went wrong with the history database, in the terms a user can act on: busy is another
// program's lock and passes; the others stay until the file is mended or replaced.
enum class StoreProblem {
    None,
    Busy, // another connection holds the lock past the busy timeout
    CannotOpen, // SQLite cannot open the file, or it is no file
    Damaged, // fails its integrity check, or holds a value no draw or ticket can have
    Foreign, // tables of another program
    Newer, // made by a newer version of the program
    CannotCreate, // a schema step could not be written
    Unreadable, // a read failed
    Unwritable, // a write failed
    Taken, // the draw number asked for is stored already
    Gone, // the ticket asked for is no longer stored
};

// A problem with the sentence a user reads: in Japanese, naming the file, with SQLite's own
// words where it gave any.
struct StoreFault
{
    StoreProblem problem = StoreProblem::None;
    QString text;

    explicit operator bool() const { return problem != StoreProblem::None; }
    bool busy() const { return problem == StoreProblem::Busy; }
};

// The fault of that problem with the database at path; detail is what SQLite said, or which
// value is wrong.
StoreFault FaultOf(StoreProblem problem, const QString &path, const QString &detail = {});

// The fault a failed statement shows: busy when SQLite said so, otherwise the problem given.
StoreFault FaultOf(const QSqlError &error, StoreProblem otherwise, const QString &path);

// What a store gives back: the value asked for, or the fault that kept it from being read.
template<typename T>
struct StoreResult
{
    T value {};
    StoreFault fault;

    bool ok() const { return !fault; }
};
