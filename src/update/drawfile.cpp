#include "drawfile.h"

#include "history/resulttext.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;
using namespace ResultText;

namespace {

// 令和元年 is 2019; 平成元年 1989.
struct Era
{
    QStringView name;
    int firstYear;
    QDate first;
    QDate last;
};

QDate EraDate(const QString &text)
{
    static const QRegularExpression pattern(
        u"(令和|平成)(元|\\d{1,2})年(\\d{1,2})月(\\d{1,2})日"_s);
    static const Era eras[] {{u"令和", 2019, QDate(2019, 5, 1), QDate(9999, 12, 31)},
        {u"平成", 1989, QDate(1989, 1, 8), QDate(2019, 4, 30)}};
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    for (const Era &era : eras) {
        if (match.capturedView(1) != era.name)
            continue;
        const int year = match.capturedView(2) == u"元" ? 1 : match.capturedView(2).toInt();
        const QDate date(
            era.firstYear + year - 1, match.capturedView(3).toInt(), match.capturedView(4).toInt());
        if (date >= era.first && date <= era.last)
            return date;
    }
    return {};
}

// "8口" and "8247000円" as numbers; 該当なし as 0, nobody having won; 未確定 and nothing as not
// given; none for anything else.
std::optional<QString> Figure(const QString &field, QStringView unit)
{
    if (field == u"該当なし")
        return u"0"_s;
    if (field.isEmpty() || field == u"未確定")
        return QString();
    QString text = field;
    if (text.endsWith(unit))
        text.chop(unit.size());
    return wholeNumber(text) ? std::optional(text) : std::nullopt;
}

} // namespace

DrawFileRead ReadDrawFile(const Game &game, int number, QByteArrayView bytes)
{
    const QStringList lines = DecodeResults(bytes).split(u'\n');
    const auto fail = [](const QString &reason) { return DrawFileRead {std::nullopt, reason}; };
    static const QRegularExpression code(u"^A\\d\\d$"_s);
    if (lines.size() < 2 || !code.match(narrowed(lines[0])).hasMatch())
        return fail(
            u"当せん番号のファイルではありません（1 行目が A と 2 桁の数字ではありません）"_s);

    static const QRegularExpression title(u"^第(\\d{1,7})回(.+)$"_s);
    const QStringList head = narrowed(lines[1]).split(u',');
    const QRegularExpressionMatch named
        = title.match(head[0].normalized(QString::NormalizationForm_KC).trimmed());
    if (!named.hasMatch())
        return fail(u"当せん番号のファイルではありません（2 行目が「第N回」で始まりません）"_s);
    const Game *namedGame = FindGame(named.captured(2));
    if (!namedGame)
        return fail(u"当せん番号のファイルではありません（2 行目が「%1」を名乗ります）"_s.arg(
            named.captured(2)));
    const int drawNumber = named.capturedView(1).toInt();
    if (namedGame != &game)
        return fail(u"第%1回のファイルは %2 のものです"_s.arg(drawNumber).arg(namedGame->name));
    if (drawNumber != number)
        return fail(u"第%1回を求めましたが、第%2回のファイルでした"_s.arg(number).arg(drawNumber));
    const QDate date = EraDate(lines[1].normalized(QString::NormalizationForm_KC));
    if (!date.isValid())
        return fail(u"第%1回の抽せん日が読めません"_s.arg(number));

    QStringList drawn;
    QStringList bonuses;
    std::vector<QString> winners(std::size_t(game.gradeCount()));
    std::vector<QString> prizes(std::size_t(game.gradeCount()));
    std::vector<bool> gradeRead(winners.size());
    QString carryOver;
    bool numbersRead = false;
    bool carryOverRead = false;
    for (qsizetype at = 2; at < lines.size(); ++at) {
        const QStringList fields = narrowed(lines[at]).split(u',');
        const QString label = fields[0].normalized(QString::NormalizationForm_KC).trimmed();
        if (label == u"本数字" && !numbersRead) {
            numbersRead = true;
            QStringList *into = &drawn;
            for (qsizetype i = 1; i < fields.size(); ++i) {
                if (fields[i].trimmed() == u"ボーナス数字")
                    into = &bonuses;
                else
                    *into << fields[i].trimmed();
            }
        } else if (label == u"キャリーオーバー" && !carryOverRead && fields.size() > 1) {
            carryOverRead = true;
            const std::optional<QString> figure = Figure(fields[1].trimmed(), u"円");
            if (!figure)
                return fail(
                    u"第%1回のキャリーオーバー「%2」が読めません"_s.arg(number).arg(fields[1]));
            carryOver = *figure;
        } else if (label.size() == 2 && label.endsWith(u'等') && fields.size() > 2) {
            const std::size_t grade = std::size_t(label[0].digitValue() - 1);
            if (grade >= winners.size() || gradeRead[grade])
                continue;
            gradeRead[grade] = true;
            const std::optional<QString> count = Figure(fields[1].trimmed(), u"口");
            const std::optional<QString> prize = Figure(fields[2].trimmed(), u"円");
            if (!count || !prize)
                return fail(u"第%1回の%2「%3,%4」が読めません"_s.arg(number).arg(
                    label, fields[1], fields[2]));
            winners[grade] = *count;
            prizes[grade] = *prize;
        }
    }
    if (drawn.size() != game.drawn || bonuses.size() != game.bonuses)
        return fail(u"第%1回の本数字とボーナス数字が %2 個と %3 個ではありません"_s.arg(number)
                        .arg(game.drawn)
                        .arg(game.bonuses));

    QStringList fields {QString::number(number), date.toString(u"yyyy/M/d"_s)};
    fields << drawn << bonuses;
    for (const QString &count : winners)
        fields << count;
    for (const QString &prize : prizes)
        fields << prize;
    if (game.carryOver)
        fields << carryOver;
    const DrawFromFields read = ReadDrawFields(game, fields);
    if (!read.draw)
        return fail(u"第%1回：%2"_s.arg(number).arg(read.reason));
    return {read.draw, {}};
}

int NewestIndexedDraw(const Game &game, const QString &fileStem, const QString &text)
{
    const QString narrow = text.normalized(QString::NormalizationForm_KC);
    static const QRegularExpression titles(u"第0*(\\d{1,7})回([^,\\s\"]+)"_s);
    const QRegularExpression files(QRegularExpression::escape(fileStem) + u"(\\d{4,7})\\.csv"_s,
        QRegularExpression::CaseInsensitiveOption);
    int newest = 0;
    const auto listed = [&](QStringView digits) {
        if (const int number = digits.toInt(); number <= LastDrawNumber)
            newest = std::max(newest, number);
    };
    for (auto match = titles.globalMatch(narrow); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        if (FindGame(found.captured(2)) == &game)
            listed(found.capturedView(1));
    }
    for (auto match = files.globalMatch(narrow); match.hasNext();)
        listed(match.next().capturedView(1));
    return newest;
}
