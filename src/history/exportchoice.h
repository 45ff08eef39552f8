#pragma once

#include "exportresults.h"

class QWidget;

// Where to write a CSV export, and in which encoding, as the user chooses them in a file dialog;
// empty when the user cancels.
QString ChooseExportFile(QWidget *parent, ExportEncoding &encoding);
