#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The fields of past results as text: numbers, dates and amounts as people write them, and the
// records of CSV and of pasted lines. For the reader of past results.
namespace ResultText {

// Full-width ASCII (digits, letters, parentheses, the slash) as ASCII, and blanks trimmed.
QString narrowed(QStringView text);

// A whole number of digits only, as a number; nothing for anything else.
std::optional<qint64> wholeNumber(const QString &text);

// "2097" or "第2097回".
std::optional<qint64> drawNumber(const QString &field);

// Whether a pasted token is written as a date: 2026/5/4, 2026-05-04 or 2026年5月4日.
bool looksLikeDate(const QString &token);

// 月 to 日, 月曜 or 月曜日, or Mon to Sun in any case: the weekday a web page writes after a date.
bool isWeekday(QStringView name);

// The text without a weekday in parentheses at its end: "2026/5/4(月)" as "2026/5/4".
QString withoutWeekday(const QString &text);

// 2000/10/5, 2000-10-05 or 2000年10月5日, a weekday after it allowed; an invalid date for
// anything else.
QDate dateFrom(const QString &field);

// A count or an amount: thousands separators and a trailing 円 allowed; -1 when it is no number
// (an empty field, or 該当なし where nobody won).
qint64 amount(const QString &field);

// One record of CSV as in RFC 4180 from at: fields split at the separator (a comma or a tab), a
// quoted field may hold separators, line breaks and doubled quotes. at and line move past it.
QStringList csvRecord(const QString &text, qsizetype &at, qsizetype &line, QChar separator);

// A pasted line's tokens, split at blanks, tabs, commas and 、; a number in parentheses is the
// bonus and comes back marked with a leading '('.
QStringList pastedTokens(const QString &line);

} // namespace ResultText
