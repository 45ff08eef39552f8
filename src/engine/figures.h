#pragma once

#include <QString>

// Figures as every window and the command line show them: whole numbers with thousands
// separators, amounts in yen, and averages with one decimal.

QString Grouped(qint64 value); // "1,234,567"
QString Yen(qint64 value); // "1,234,567 円"
QString SignedYen(qint64 value); // "+1,234 円", "0 円", "-200 円"
QString OneDecimal(double value); // "14.0", "-0.3"
// Three significant figures, whole numbers once it is large, never in exponent form: "0.00410",
// "41.0", "637".
QString ThreeFigures(double value);
