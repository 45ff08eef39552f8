#include "resulttext.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace ResultText {

// Full-width ASCII (digits, letters, parentheses, the slash) as ASCII, and blanks trimmed.
QString narrowed(QStringView text)
{
    QString plain = text.trimmed().toString();
    for (QChar &c : plain) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(c.unicode() - 0xFF01 + 0x21);
    }
    return plain.trimmed();
}

// A whole number of digits only, as a number; nothing for anything else.
std::optional<qint64> wholeNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 15 || !std::all_of(text.begin(), text.end(), [](QChar c) {
            return c.isDigit() && c < u'\x80';
        }))
        return std::nullopt;
    return text.toLongLong();
}

// "2097" or "第2097回".
std::optional<qint64> drawNumber(const QString &field)
{
    QString text = narrowed(field);
    if (text.startsWith(u'第') && text.endsWith(u'回'))
        text = text.sliced(1, text.size() - 2).trimmed();
    return wholeNumber(text);
}

bool looksLikeDate(const QString &token)
{
    return token.contains(u'/') || token.contains(u'-') || token.contains(u'年');
}

// 月 to 日, 月曜 or 月曜日, or Mon to Sun in any case: the weekday a web page writes after a date.
bool isWeekday(QStringView name)
{
    static const QStringList days {u"月"_s, u"火"_s, u"水"_s, u"木"_s, u"金"_s, u"土"_s, u"日"_s,
        u"mon"_s, u"tue"_s, u"wed"_s, u"thu"_s, u"fri"_s, u"sat"_s, u"sun"_s};
    QString plain = name.trimmed().toString().toLower();
    if (plain.endsWith(u"曜日"_s))
        plain.chop(2);
    else if (plain.endsWith(u'曜'))
        plain.chop(1);
    return days.contains(plain);
}

// The text without a weekday in parentheses at its end: "2026/5/4(月)" as "2026/5/4".
QString withoutWeekday(const QString &text)
{
    if (text.endsWith(u')')) {
        const qsizetype open = text.lastIndexOf(u'(');
        if (open >= 0 && isWeekday(QStringView(text).sliced(open + 1, text.size() - open - 2)))
            return text.first(open).trimmed();
    }
    return text;
}

// 2000/10/5, 2000-10-05 or 2000年10月5日, a weekday after it allowed; an invalid date for
// anything else.
QDate dateFrom(const QString &field)
{
    QString text = withoutWeekday(narrowed(field));
    if (text.endsWith(u'日'))
        text.chop(1);
    const QStringList parts
        = text.replace(u'年', u'/').replace(u'月', u'/').replace(u'-', u'/').split(u'/');
    if (parts.size() != 3)
        return {};
    const auto year = wholeNumber(parts[0]);
    const auto month = wholeNumber(parts[1]);
    const auto day = wholeNumber(parts[2]);
    if (!year || !month || !day || *year > 9999 || *month > 12 || *day > 31)
        return {};
    return QDate(int(*year), int(*month), int(*day));
}

// A count or an amount: thousands separators and a trailing 円 allowed; -1 when it is no number
// (an empty field, or 該当なし where nobody won).
qint64 amount(const QString &field)
{
    QString text = narrowed(field);
    if (text.endsWith(u'円'))
        text.chop(1);
    return wholeNumber(text.remove(u',')).value_or(-1);
}

// One record of CSV as in RFC 4180 from at: fields split at the separator (a comma or a tab), a
// quoted field may hold separators, line breaks and doubled quotes. at and line move past it.
QStringList csvRecord(const QString &text, qsizetype &at, qsizetype &line, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (quoted) {
            if (c == u'"' && at + 1 < text.size() && text[at + 1] == u'"')
                field += text[++at];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
            line += c == u'\n';
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            fields << std::exchange(field, {});
        } else if (c == u'\r' || c == u'\n') {
            at += c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
            ++line;
            break;
        } else {
            field += c;
        }
    }
    return fields << field;
}

// A pasted line's tokens, split at blanks, tabs, commas and 、; a number in parentheses is the
// bonus and comes back marked with a leading '('.
QStringList pastedTokens(const QString &line)
{
    QString text = narrowed(line);
    for (QChar &c : text) {
        if (c == u'\t' || c == u',' || c == u'、' || c == u'\u3000')
            c = u' ';
    }
    text.replace(u"("_s, u" ("_s).replace(u")"_s, u" "_s);
    return text.split(u' ', Qt::SkipEmptyParts);
}

} // namespace ResultText
