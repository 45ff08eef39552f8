#include "pastresults.h"

#include "resulttext.h"
#include "settings/cp932.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <optional>

using namespace Qt::StringLiterals;
using namespace ResultText;

namespace {

// The fields a header row may name; the prize columns are optional.
enum class Field { Draw, Date, Number, Bonus, Winners, Prize, CarryOver };

struct Named
{
    Field field = Field::Draw;
    int index = 0; // the number's, the bonus number's or the grade's, from 0
};

// The names a game's header row may give its columns, narrowed and in lower case.
class ColumnNames
{
public:
    explicit ColumnNames(const Game &game)
    {
        m_names = {{u"開催回"_s, {Field::Draw}}, {u"回号"_s, {Field::Draw}},
            {u"回"_s, {Field::Draw}}, {u"no"_s, {Field::Draw}}, {u"日付"_s, {Field::Date}},
            {u"抽せん日"_s, {Field::Date}}, {u"抽選日"_s, {Field::Date}}};
        if (game.carryOver)
            m_names.push_back({u"キャリーオーバー"_s, {Field::CarryOver}});
        for (int i = 0; i < game.bonuses; ++i) {
            m_names.push_back({narrowed(game.bonusColumns[i]).toLower(), {Field::Bonus, i}});
            if (game.bonuses > 1)
                m_names.push_back({u"ボーナス数字%1"_s.arg(i + 1), {Field::Bonus, i}});
        }
        if (game.bonuses == 1) {
            m_names.push_back({u"ボーナス数字"_s, {Field::Bonus}});
            m_names.push_back({u"数字b"_s, {Field::Bonus}});
        }
        for (int i = 0; i < game.drawn; ++i) {
            m_names.push_back({narrowed(game.numberColumns[i]).toLower(), {Field::Number, i}});
            m_names.push_back({u"数字%1"_s.arg(i + 1), {Field::Number, i}});
        }
        for (int grade = 0; grade < game.gradeCount(); ++grade) {
            m_names.push_back({u"%1等口数"_s.arg(grade + 1), {Field::Winners, grade}});
            m_names.push_back({u"%1等賞金"_s.arg(grade + 1), {Field::Prize, grade}});
        }
    }

    std::optional<Named> find(const QString &name) const
    {
        const QString wanted = narrowed(name).toLower();
        for (const auto &[known, named] : m_names) {
            if (known == wanted)
                return named;
        }
        return std::nullopt;
    }

    // A name of the shape of a numbered, bonus or grade column that is none of this game's, as
    // another game's file has (第7数字, BONUS数字2, 6等口数): such a file is not read at all.
    bool foreign(const QString &name) const
    {
        static const QRegularExpression shaped(
            u"^(第\\d+数字|数字\\d+|(bonus|ボーナス)数字\\d*|\\d+等(口数|賞金))$"_s);
        return !find(name) && shaped.match(narrowed(name).toLower()).hasMatch();
    }

private:
    std::vector<std::pair<QString, Named>> m_names;
};

// The checks every draw passes; the reason it fails, or nothing. No bonus number at all is a
// draw whose bonus the source did not give.
std::optional<QString> fault(const Game &game, std::optional<qint64> number, const QString &date,
    const std::vector<QString> &picks, const std::vector<QString> &bonuses)
{
    // A draw's number is positive; past a million it is no draw of this lottery's.
    if (!number || *number <= 0 || *number > LastDrawNumber)
        return u"回号が正しくありません"_s;
    if (!date.isEmpty() && !dateFrom(date).isValid())
        return u"日付が正しくありません"_s;
    if (picks.size() != std::size_t(game.drawn))
        return u"本数字が %1 つではありません"_s.arg(game.drawn);
    std::vector<char> seen(std::size_t(game.numbers) + 1);
    for (const QString &pick : picks) {
        const auto value = wholeNumber(narrowed(pick));
        if (!value || *value < 1 || *value > game.numbers)
            return u"数字「%1」は 1 から %2 までではありません"_s.arg(pick).arg(game.numbers);
        if (std::exchange(seen[std::size_t(*value)], 1))
            return u"数字 %1 が 2 回あります"_s.arg(*value);
    }
    const auto given = std::count_if(bonuses.begin(), bonuses.end(),
        [](const QString &bonus) { return !narrowed(bonus).isEmpty(); });
    if (given == 0)
        return std::nullopt;
    if (given != game.bonuses || bonuses.size() != std::size_t(game.bonuses))
        return u"ボーナス数字が %1 つではありません"_s.arg(game.bonuses);
    for (const QString &bonus : bonuses) {
        const auto value = wholeNumber(narrowed(bonus));
        if (!value || *value < 1 || *value > game.numbers)
            return u"ボーナス数字「%1」が正しくありません"_s.arg(bonus);
        if (seen[std::size_t(*value)] == 1)
            return u"ボーナス数字 %1 は本数字にあります"_s.arg(*value);
        if (std::exchange(seen[std::size_t(*value)], 2))
            return u"ボーナス数字 %1 が 2 回あります"_s.arg(*value);
    }
    return std::nullopt;
}

PastDraw drawFrom(qint64 number, const QString &date, const std::vector<QString> &picks,
    const std::vector<QString> &bonuses)
{
    PastDraw draw;
    draw.number = int(number);
    draw.date = date.isEmpty() ? QDate() : dateFrom(date);
    for (const QString &pick : picks)
        draw.numbers.push_back(int(*wholeNumber(narrowed(pick))));
    draw.numbers.sort();
    for (const QString &bonus : bonuses) {
        if (const auto value = wholeNumber(narrowed(bonus)))
            draw.bonuses.push_back(int(*value));
    }
    return draw;
}

// A token that is a number, as a draw's number, a pick or a bonus in parentheses.
bool isNumberToken(const QString &token)
{
    return drawNumber(token.startsWith(u'(') ? token.sliced(1) : token).has_value();
}

// A pasted line that may be meant as a draw: it starts with 第N回 or holds five numbers at least.
// A text without any such line is no past results.
bool drawLike(const QStringList &tokens)
{
    return (!tokens.isEmpty() && tokens[0].startsWith(u'第') && drawNumber(tokens[0]))
        || std::count_if(tokens.begin(), tokens.end(), isNumberToken) >= 5;
}

// A pasted table's header row: no digit, and a column's name or 本数字 among its words.
bool pastedHeader(const ColumnNames &names, const QStringList &tokens)
{
    bool named = false;
    for (const QString &token : tokens) {
        if (std::any_of(token.begin(), token.end(), [](QChar c) { return c.isDigit(); }))
            return false;
        named = named || names.find(token) || token.startsWith(u"本数字"_s)
            || token.startsWith(u"ボーナス"_s);
    }
    return named;
}

QString notResults()
{
    return u"当せん番号のファイルではありません"_s;
}

// Control characters other than line breaks and tabs, or bytes no encoding could read, in the
// first characters: a program or an image rather than text.
bool binaryStart(const QString &text)
{
    const QStringView start = QStringView(text).first(std::min<qsizetype>(text.size(), 4096));
    return std::any_of(start.begin(), start.end(), [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f')
            || c.unicode() == 0x7F || c == QChar::ReplacementCharacter;
    });
}

// The first line that is not blank, read as a header row: its cells, split at tabs when it has
// one and at commas otherwise, and where it starts and ends.
struct HeaderRow
{
    QStringList names;
    QChar separator = u',';
    qsizetype start = 0; // where the first line that is not blank starts
    qsizetype startLine = 1;
    qsizetype end = 0; // where the line after it starts
    qsizetype endLine = 1;
};

HeaderRow headerRow(const QString &text)
{
    HeaderRow header;
    while (header.start < text.size() && text[header.start].isSpace())
        header.startLine += text[header.start++] == u'\n';
    const qsizetype lineEnd = text.indexOf(u'\n', header.start);
    if (QStringView(text)
            .sliced(header.start, (lineEnd < 0 ? text.size() : lineEnd) - header.start)
            .contains(u'\t'))
        header.separator = u'\t';
    header.end = header.start;
    header.endLine = header.startLine;
    header.names = csvRecord(text, header.end, header.endLine, header.separator);
    return header;
}

// Where each of a game's fields stands in a header row.
class HeaderColumns
{
public:
    HeaderColumns(const ColumnNames &names, const QStringList &header)
    {
        for (qsizetype i = 0; i < header.size(); ++i) {
            if (const auto named = names.find(header[i]))
                m_columns.try_emplace({named->field, named->index}, i);
        }
    }

    // -1 where the header names none.
    qsizetype at(Field field, int index = 0) const
    {
        const auto found = m_columns.find({field, index});
        return found == m_columns.end() ? qsizetype(-1) : found->second;
    }

    // A header names the draw number and every drawn number at least.
    bool namesDraws(const Game &game) const
    {
        bool named = at(Field::Draw) >= 0;
        for (int i = 0; i < game.drawn; ++i)
            named = named && at(Field::Number, i) >= 0;
        return named;
    }

private:
    std::map<std::pair<Field, int>, qsizetype> m_columns;
};

} // namespace

const Game *ResultsGame(const QString &text)
{
    const QStringList header = headerRow(text).names;
    for (const Game *game : Games()) {
        const ColumnNames names(*game);
        if (HeaderColumns(names, header).namesDraws(*game)
            && std::none_of(header.begin(), header.end(),
                [&](const QString &name) { return names.foreign(name); }))
            return game;
    }
    return nullptr;
}

std::optional<int> ReadDrawNumber(const QString &text)
{
    const auto number = drawNumber(text);
    if (!number || *number < 1 || *number > LastDrawNumber)
        return std::nullopt;
    return int(*number);
}

QString StoredDrawFault(const Game &game, const PastDraw &draw)
{
    if (draw.number <= 0 || draw.number > LastDrawNumber)
        return u"回号が正しくありません"_s;
    if (draw.numbers.size() != game.drawn)
        return u"本数字が %1 つではありません"_s.arg(game.drawn);
    for (std::size_t i = 0; i < std::size_t(draw.numbers.size()); ++i) {
        const int number = draw.numbers[i];
        if (number < 1 || number > game.numbers || (i > 0 && number <= draw.numbers[i - 1]))
            return u"数字 %1 が正しくありません"_s.arg(number);
    }
    if (draw.bonuses.size() != 0 && draw.bonuses.size() != game.bonuses)
        return u"ボーナス数字が %1 つではありません"_s.arg(game.bonuses);
    for (int i = 0; i < draw.bonuses.size(); ++i) {
        const int bonus = draw.bonuses[std::size_t(i)];
        if (bonus < 1 || bonus > game.numbers || draw.numbers.contains(bonus)
            || std::find(draw.bonuses.begin(), draw.bonuses.begin() + i, bonus)
                != draw.bonuses.begin() + i)
            return u"ボーナス数字 %1 が正しくありません"_s.arg(bonus);
    }
    // Given figures are not negative, and a grade or a carry-over the game has not is not given.
    const auto wrong
        = [](qint64 value, bool offered) { return value < -1 || (!offered && value != -1); };
    for (std::size_t grade = 0; grade < std::size_t(MostGrades); ++grade) {
        const bool offered = grade < std::size_t(game.gradeCount());
        if (wrong(draw.winners[grade], offered) || wrong(draw.prizes[grade], offered))
            return u"口数か金額が正しくありません"_s;
    }
    if (wrong(draw.carryOver, game.carryOver))
        return u"口数か金額が正しくありません"_s;
    return {};
}

QString DecodeResults(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE)(bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE)(bytes.sliced(2));
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? Cp932::decode(bytes) : text;
}

ReadDraws ReadResults(const Game &game, const QString &text,
    const std::function<void(const RejectedLine &)> &rejected,
    const std::function<bool(qsizetype)> &carryOn)
{
    ReadDraws read;
    if (binaryStart(text)) {
        read.refused = notResults();
        return read;
    }
    const ColumnNames names(game);
    std::vector<PastDraw> &draws = read.draws;
    // A draw a line at most: reserving that many spares the copies of a growing vector, which
    // for a large file would double the memory the draws take.
    draws.reserve(std::size_t(text.count(u'\n') + 1));
    const auto take = [&](qsizetype line, std::optional<qint64> number, const QString &date,
                          const std::vector<QString> &picks, const std::vector<QString> &bonuses) {
        if (const auto reason = fault(game, number, date, picks, bonuses)) {
            rejected({line, *reason});
            return false;
        }
        draws.push_back(drawFrom(*number, date, picks, bonuses));
        read.lines.push_back(line);
        return true;
    };
    // Asked every thousand lines; a stop leaves nothing read.
    const auto stopped = [&](qsizetype line, qsizetype at) {
        if (!carryOn || line % 1000 != 0 || carryOn(at))
            return false;
        read = {};
        read.cancelled = true;
        return true;
    };

    // The first line that is not blank tells whether the text has a header row.
    const HeaderRow header = headerRow(text);
    qsizetype at = header.start;
    qsizetype line = header.startLine;
    const HeaderColumns columns(names, header.names);
    const auto column = [&](Field field, int index = 0) { return columns.at(field, index); };
    if (const Game *owner = ResultsGame(text); owner && owner->key != game.key) {
        read.refused
            = u"%1の当せん番号のファイルです。%2としては読めません"_s.arg(owner->name, game.name);
        return read;
    }
    if (columns.namesDraws(game)) {
        // Another game's file would be read shifted: a number, a bonus or a grade dropped.
        for (const QString &name : header.names) {
            if (names.foreign(name)) {
                read.refused = u"この形式の列は読めません: %1"_s.arg(name.trimmed());
                return read;
            }
        }
        at = header.end;
        line = header.endLine;
        // Cells after the last column named, as a closing EOF, are not in every row.
        qsizetype counted = header.names.size();
        while (counted > 0 && !names.find(header.names[counted - 1]))
            --counted;
        while (at < text.size()) {
            const qsizetype recordLine = line;
            const QStringList fields = csvRecord(text, at, line, header.separator);
            if (stopped(recordLine, at))
                return read;
            if (fields.size() == 1 && fields[0].trimmed().isEmpty())
                continue;
            // A field too many or too few shifts every column after it: such a row is refused
            // rather than read into the wrong columns.
            if (fields.size() != header.names.size() && fields.size() != counted) {
                rejected({recordLine,
                    u"列の数が見出しと違います（見出し %1 列、この行 %2 列）"_s
                        .arg(header.names.size())
                        .arg(fields.size())});
                continue;
            }
            const auto field
                = [&](Field which, int index = 0) { return fields.value(column(which, index)); };
            std::vector<QString> picks;
            for (int i = 0; i < game.drawn; ++i)
                picks.push_back(field(Field::Number, i));
            std::vector<QString> bonuses;
            for (int i = 0; i < game.bonuses; ++i)
                bonuses.push_back(field(Field::Bonus, i));
            if (!take(
                    recordLine, drawNumber(field(Field::Draw)), field(Field::Date), picks, bonuses))
                continue;
            PastDraw &draw = draws.back();
            for (int grade = 0; grade < game.gradeCount(); ++grade) {
                draw.winners[std::size_t(grade)] = amount(field(Field::Winners, grade));
                draw.prizes[std::size_t(grade)] = amount(field(Field::Prize, grade));
            }
            draw.carryOver = amount(field(Field::CarryOver));
        }
        return read;
    }

    const QList<QStringView> lines = QStringView(text).mid(at).split(u'\n');
    if (at < text.size() && std::none_of(lines.begin(), lines.end(), [](QStringView each) {
            return drawLike(pastedTokens(each.toString()));
        })) {
        read.refused = notResults();
        return read;
    }
    for (const QStringView each : lines) {
        const QStringList parts = pastedTokens(each.toString());
        if (stopped(line, each.data() - text.data()))
            return read;
        if (!parts.isEmpty() && !pastedHeader(names, parts)) {
            const bool named = parts[0].startsWith(u'第');
            const bool dated = parts.size() > 1 && looksLikeDate(parts[1]);
            // A weekday after the date is part of it.
            const qsizetype first = !dated ? 1
                : parts.size() > 2 && parts[2].startsWith(u'(') && isWeekday(parts[2].sliced(1))
                ? 3
                : 2;
            std::vector<QString> picks;
            std::vector<QString> bonuses;
            // Bonus numbers in parentheses make every bare number a drawn one.
            const bool marked = std::any_of(parts.begin() + first, parts.end(),
                [](const QString &part) { return part.startsWith(u'('); });
            for (qsizetype i = first; i < parts.size(); ++i) {
                if (parts[i].startsWith(u'('))
                    bonuses.push_back(parts[i].sliced(1));
                else if (!marked && picks.size() == std::size_t(game.drawn)
                    && bonuses.size() < std::size_t(game.bonuses))
                    bonuses.push_back(parts[i]);
                else
                    picks.push_back(parts[i]);
            }
            const auto number = drawNumber(parts[0]);
            if (!named && !dated && parts.size() == game.drawn + game.bonuses && number
                && *number <= game.numbers)
                rejected({line,
                    u"回号が分かりません（%1 つの数字は本数字とボーナス数字かもしれません）。"
                    u"第N回 の形で書いてください"_s.arg(parts.size())});
            else
                take(line, number, dated ? parts[1] : QString(), picks, bonuses);
        }
        ++line;
    }
    return read;
}

QStringList OfficialHeader(const Game &game)
{
    QStringList header {u"開催回"_s, u"日付"_s};
    header << game.numberColumns << game.bonusColumns;
    for (int grade = 1; grade <= game.gradeCount(); ++grade)
        header << u"%1等口数"_s.arg(grade);
    for (int grade = 1; grade <= game.gradeCount(); ++grade)
        header << u"%1等賞金"_s.arg(grade);
    if (game.carryOver)
        header << u"キャリーオーバー"_s;
    return header;
}

DrawFromFields ReadDrawFields(const Game &game, const QStringList &fields)
{
    const QStringList header = OfficialHeader(game);
    QStringList quoted;
    for (qsizetype column = 0; column < header.size(); ++column)
        quoted << u'"' + QString(fields.value(column)).replace(u"\""_s, u"\"\""_s) + u'"';
    DrawFromFields result;
    const ReadDraws read = ReadResults(game, header.join(u',') + u'\n' + quoted.join(u','),
        [&](const RejectedLine &line) { result.reason = line.reason; });
    if (!read.draws.empty())
        result.draw = read.draws.front();
    return result;
}

QStringList DrawFields(const Game &game, const PastDraw &draw)
{
    const auto given = [](qint64 value) { return value < 0 ? QString() : QString::number(value); };
    QStringList fields {QString::number(draw.number),
        draw.date.isValid() ? draw.date.toString(u"yyyy/M/d"_s) : QString()};
    for (const int number : draw.numbers)
        fields << QString::number(number);
    for (int i = 0; i < game.bonuses; ++i)
        fields << (i < draw.bonuses.size() ? QString::number(draw.bonuses[std::size_t(i)])
                                           : QString());
    for (int grade = 0; grade < game.gradeCount(); ++grade)
        fields << given(draw.winners[std::size_t(grade)]);
    for (int grade = 0; grade < game.gradeCount(); ++grade)
        fields << given(draw.prizes[std::size_t(grade)]);
    if (game.carryOver)
        fields << given(draw.carryOver);
    return fields;
}
