#include "commandline.h"

#include "engine/game.h"
#include "tickets/ticketdraw.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <limits>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The options every Qt program takes, which QApplication reads for itself, and whether each
// takes a value. "-style Fusion", "--style Fusion" and "--style=Fusion" all work.
constexpr std::pair<const char *, bool> qtOptions[] {{"platform", true},
    {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true}, {"qwindowtitle", true}, {"session", true},
    {"style", true}, {"stylesheet", true}, {"display", true}, {"geometry", true},
    {"qmljsdebugger", true}, {"name", true}, {"title", true}, {"visual", true}, {"reverse", false},
    {"widgetcount", false}, {"nograb", false}, {"dograb", false}, {"sync", false}};

// A whole number from first to last, or none.
std::optional<int> numberIn(const QString &text, int first, int last)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= first && value <= last ? std::optional(value) : std::nullopt;
}

// The option written as --name, or -name as Qt's own are.
QString optionName(const QString &argument)
{
    QString name = argument.section(u'=', 0, 0);
    while (name.startsWith(u'-'))
        name.remove(0, 1);
    return name;
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"%1 までの異なる %2 つの数字を、数字ごとの出現率に従って選びます。\n"
        u"Chooses %2 distinct numbers from 1 to %3, weighted by a level for each number."_s
            .arg(NumberRangeText())
            .arg(DrawnCount)
            .arg(NumberCount));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QStringList takingValues;
    for (const auto &[name, takesValue] : qtOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        if (takesValue) {
            option.setValueName(u"value"_s);
            takingValues << QString::fromLatin1(name);
        }
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    const QCommandLineOption gameOption(u"game"_s,
        u"--import、--draw、--wheel、--export、--update "
        u"のゲーム：%1（ロト6、ロト7、ミニロトとも書け"
        u"ます）。省くとロト6。--import では公式の見出し行のあるファイルはそのゲーム、--update では"
        u"全ゲームです。\n"
        u"The game of --import, --draw, --wheel, --export and --update; loto6 when not given, "
        u"except for a file --import reads whose official header names its game, and for "
        u"--update, which checks every game."_s.arg(GameKeysText()),
        u"G"_s);
    const QCommandLineOption exportOption(u"export"_s,
        u"登録済みの当せん番号を公式の形式で書き出します。\n"
        u"Writes the stored results of the game in the official layout."_s,
        u"FILE"_s);
    const QCommandLineOption encoding(u"encoding"_s,
        u"--export の文字コード：utf-8（既定、BOM 付き）か cp932。\n"
        u"With --export: utf-8 (with a byte order mark, the default) or cp932."_s,
        u"E"_s);
    const QCommandLineOption update(u"update"_s,
        u"最新の当せん番号を取得元から取得し、新しい回の保存した券を照合します。\n"
        u"Fetches the latest official results and grades the saved tickets of new draws."_s);
    const QCommandLineOption import(u"import"_s,
        u"過去の当せん番号をファイルから読み込みます。\n"
        u"Reads past results from the files given, without a window."_s);
    const QCommandLineOption draw(u"draw"_s,
        u"N 口をまとめて予想し、1 行に 1 口ずつ表示します（1〜%1）。\n"
        u"Prints N tickets (1 to %1), one a line, drawn with the settings."_s.arg(
            MostTicketsAtOnce),
        u"N"_s);
    const QCommandLineOption fixed(u"fixed"_s,
        u"--draw で、どの券にも入れる数字。\nWith --draw: numbers every ticket holds."_s,
        u"LIST"_s);
    const QCommandLineOption exclude(u"exclude"_s,
        u"--draw で、どの券にも入れない数字。\nWith --draw: numbers no ticket holds."_s, u"LIST"_s);
    const QCommandLineOption overlap(u"overlap"_s,
        u"--draw で、2 口が共通に持てる数字の数の上限（0〜本数字の数 − 1、既定はその最大）。\n"
        u"With --draw: the most numbers two tickets share (0 to one less than a ticket holds, "
        u"the most by default)."_s,
        u"K"_s);
    const QCommandLineOption wheel(u"wheel"_s,
        u"選んだ 本数字の数 + 1〜%1 個の数字のホイールを作り、券と保証と確率を表示します。\n"
        u"Prints a wheel over one more than a ticket holds to %1 chosen numbers, its guarantee "
        u"and its chances."_s.arg(MostChosen),
        u"LIST"_s);
    const QCommandLineOption guarantee(u"guarantee"_s,
        u"--wheel で、保証 T/M：M 個が当たれば、どれかの券に T 個（3/3〜本数字の数まで）。\n"
        u"With --wheel: if M of the drawn numbers are chosen, a ticket holds T (3/3 up to the "
        u"numbers a ticket holds)."_s,
        u"T/M"_s);
    const QCommandLineOption most(
        u"max"_s, u"--wheel で、口数の上限。\nWith --wheel: at most N tickets."_s, u"N"_s);
    const QCommandLineOption seed(u"seed"_s,
        u"--wheel で、乱数の種（同じ種なら同じ券）。\nWith --wheel: the same seed gives the same "
        u"tickets."_s,
        u"S"_s);
    parser.addOptions({gameOption, import, draw, fixed, exclude, overlap, wheel, guarantee, most,
        seed, exportOption, encoding, update});
    takingValues << u"game"_s << u"draw"_s << u"fixed"_s << u"exclude"_s << u"overlap"_s
                 << u"wheel"_s << u"guarantee"_s << u"max"_s << u"seed"_s << u"export"_s
                 << u"encoding"_s;
    parser.addPositionalArgument(
        u"FILE"_s, u"--import で読み込むファイル。\nWith --import."_s, u"[FILE...]"_s);

    CommandLine line;
    const auto refuse = [&](const QString &reason) {
        line.action = CommandLine::Action::Refuse;
        line.text = reason;
        return line;
    };
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            return refuse(u"「%1」というオプションはありません。"_s.arg(
                parser.unknownOptionNames().constFirst()));
        const QString last = optionName(arguments.constLast());
        return refuse(takingValues.contains(last)
                ? u"--%1 の後に値がありません。"_s.arg(last)
                : u"コマンドラインを読めません（%1）。"_s.arg(parser.errorText()));
    }
    const QStringList names = parser.optionNames();
    for (const QString &name : names) {
        if (names.count(name) > 1)
            return refuse(u"--%1 が 2 回以上あります。"_s.arg(name));
    }
    const QStringList files = parser.positionalArguments();
    const bool drawing = parser.isSet(draw);
    const bool wheeling = parser.isSet(wheel);
    const bool exporting = parser.isSet(exportOption);
    const bool updating = parser.isSet(update);
    if (int(drawing) + int(wheeling) + int(parser.isSet(import)) + int(exporting) + int(updating)
        > 1)
        return refuse(u"--draw、--wheel、--import、--export、--update は一緒に使えません。"_s);
    const Game *named = FindGame(parser.value(gameOption));
    if (parser.isSet(gameOption) && !named)
        return refuse(u"--game には %1 のどれかを指定してください。"_s.arg(
            GameKeysText().replace(u'|', u"、"_s)));
    if (parser.isSet(gameOption) && !drawing && !wheeling && !exporting && !updating
        && !parser.isSet(import))
        return refuse(
            u"--game は --import、--draw、--wheel、--export、--update と一緒に使います。"_s);
    const Game &game = named ? *named : Loto6();
    const QString encodingName = parser.value(encoding).toLower();
    if (parser.isSet(encoding) && !exporting)
        return refuse(u"--encoding は --export と一緒に使います。"_s);
    if (parser.isSet(encoding) && encodingName != u"utf-8"_s && encodingName != u"cp932"_s)
        return refuse(u"--encoding には utf-8 か cp932 を指定してください。"_s);
    if (!wheeling && (parser.isSet(guarantee) || parser.isSet(most) || parser.isSet(seed)))
        return refuse(u"--guarantee、--max、--seed は --wheel と一緒に使います。"_s);
    const auto offered = ParseGuarantee(game, parser.value(guarantee));
    if (wheeling && !offered) {
        QStringList all;
        for (const Guarantee each : Guarantees(game))
            all << u"%1/%2"_s.arg(each.t).arg(each.m);
        return refuse(u"--guarantee には %1 のどれかを指定してください。"_s.arg(all.join(u"、"_s)));
    }
    const auto atMost = numberIn(parser.value(most), 1, std::numeric_limits<int>::max());
    if (parser.isSet(most) && !atMost)
        return refuse(u"--max には 1 以上の口数を指定してください。"_s);
    bool seedRead = false;
    const quint32 seedValue = parser.value(seed).toUInt(&seedRead);
    if (parser.isSet(seed) && !seedRead)
        return refuse(u"--seed には 0 から 4294967295 までの数を指定してください。"_s);
    if (!drawing && (parser.isSet(fixed) || parser.isSet(exclude) || parser.isSet(overlap)))
        return refuse(u"--fixed、--exclude、--overlap は --draw と一緒に使います。"_s);
    const auto count = numberIn(parser.value(draw), 1, MostTicketsAtOnce);
    if (drawing && !count)
        return refuse(
            u"--draw には 1 から %1 までの口数を指定してください。"_s.arg(MostTicketsAtOnce));
    const auto limit = parser.isSet(overlap) ? numberIn(parser.value(overlap), 0, game.mostFixed())
                                             : std::optional(game.mostFixed());
    if (drawing && !limit)
        return refuse(
            u"--overlap には 0 から %1 までの数を指定してください。"_s.arg(game.mostFixed()));
    if (parser.isSet(import) && files.isEmpty())
        return refuse(u"--import には読み込むファイルを指定してください。"_s);
    if (!parser.isSet(import) && !files.isEmpty())
        return refuse(u"「%1」という引数は使えません。"_s.arg(files.constFirst()));

    line.game = named;
    if (parser.isSet(help) || parser.isSet(u"help-all"_s)) {
        line.action = CommandLine::Action::Help;
        line.text = parser.helpText();
    } else if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        line.text = u"%1 %2\n"_s.arg(
            QCoreApplication::applicationName(), QCoreApplication::applicationVersion());
    } else if (parser.isSet(import)) {
        line.action = CommandLine::Action::Import;
        line.files = files;
    } else if (exporting) {
        line.action = CommandLine::Action::Export;
        line.files = QStringList {parser.value(exportOption)};
        line.codePage932 = encodingName == u"cp932"_s;
    } else if (updating) {
        line.action = CommandLine::Action::Update;
    } else if (drawing) {
        line.action = CommandLine::Action::Draw;
        line.count = *count;
        line.fixed = parser.value(fixed);
        line.excluded = parser.value(exclude);
        line.overlap = *limit;
    } else if (wheeling) {
        line.action = CommandLine::Action::Wheel;
        line.chosen = parser.value(wheel);
        line.guarantee = *offered;
        line.most = atMost;
        if (seedRead)
            line.seed = seedValue;
    }
    return line;
}
