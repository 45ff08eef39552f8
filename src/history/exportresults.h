#pragma once

#include "pastresults.h"

#include <QByteArray>

class QAbstractItemModel;

// Past results and tables written out as CSV that spreadsheets and this program read back.
enum class ExportEncoding {
    Utf8WithMark, // what spreadsheets on every system read as UTF-8
    CodePage932, // what older spreadsheets on Windows expect of Japanese text
};

// The draws under the official header, one row each with CR LF, amounts without separators,
// and an empty field where the source gave nothing: reading it back gives the same draws.
QString DrawsCsv(const Game &game, const std::vector<PastDraw> &draws);
// A table's header and rows in the order shown, each cell as that role gives it (the text shown
// by default); a number as a plain number.
QString TableCsv(const QAbstractItemModel &model, int role = Qt::DisplayRole);
QByteArray EncodeExport(const QString &text, ExportEncoding encoding);
// The path a user chose, with ".csv" added when its name has no suffix of its own.
QString WithCsvSuffix(const QString &path);
// Writes the text in that encoding, whole or not at all; the reason in Japanese when it could
// not, empty when it did.
QString WriteExport(const QString &path, const QString &text, ExportEncoding encoding);
