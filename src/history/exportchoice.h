#pragma once

#include "exportresults.h"

#include <functional>

class QWidget;

// "CSV に書き出す": asks where, proposing a file of that name in the user's documents, and in
// which encoding; writes there with write (".csv" added when the name has no suffix), and tells
// a failure. Nothing when the user cancels.
void ExportAs(QWidget *parent, const QString &proposedName,
    const std::function<QString(const QString &, ExportEncoding)> &write);
