#include "history/importfile.h"
#include "look/programstyle.h"
#include "mainwindow/formmain.h"
#include "platform/programlocations.h"
#include "productinfo.h"
#include "settings/inifilesaveload.h"
#include "tickets/ticketdraw.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif
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

// Reads each file into the database beside the settings: a line for each file on standard
// output, each rejected line on standard error, and the share done while a file is read when
// standard output is a terminal. 0 when every line was stored or already present, 1 when a file
// could not be read, held no draw, or a line was rejected (the good lines are stored).
int importFiles(const QStringList &files)
{
    const ProgramLocations locations = ProgramLocations::detect();
    QDir().mkpath(locations.programDirectory);
    HistoryDatabase database(locations.historyDatabase());
    if (!database.fault().isEmpty()) {
        std::fprintf(stderr, "numerisphere: %s\n", qPrintable(database.fault()));
        return 1;
    }
    const bool terminal = isatty(fileno(stdout));
    int status = 0;
    for (const QString &file : files) {
        int shown = -1;
        const auto progress = [&](double done) {
            if (const int percent = int(done * 100); percent != shown) {
                shown = percent;
                std::printf("\r%s: %d%%", qPrintable(file), percent);
                std::fflush(stdout);
            }
            return true;
        };
        const ImportReport report = ImportFile(
            database, file,
            [&](const RejectedLine &line) {
                std::fprintf(stderr, "%s%s:%lld: %s\n", shown >= 0 ? "\r\033[K" : "",
                    qPrintable(file), qint64(line.line), qPrintable(line.reason));
                shown = -1;
            },
            terminal ? ImportProgress(progress) : nullptr);
        if (shown >= 0)
            std::printf("\r\033[K");
        std::printf("%s\n", qPrintable(ImportSummary(file, report)));
        if (!report.stored() || report.rejected > 0)
            status = 1;
    }
    return status;
}

// Prints tickets drawn as the tickets window draws them, with the settings it would use; writes
// nothing. 2 for a list that is wrong, 1 when the tickets cannot be made.
int drawTickets(int count, const QString &fixedText, const QString &excludedText, int overlap)
{
    const NumberList fixed = ParseNumberList(fixedText);
    const NumberList excluded = ParseNumberList(excludedText);
    if (!fixed.fault.isEmpty() || !excluded.fault.isEmpty()) {
        std::fprintf(stderr, "numerisphere: %s\n",
            qPrintable(fixed.fault.isEmpty() ? u"--exclude: "_s + excluded.fault
                                             : u"--fixed: "_s + fixed.fault));
        return 2;
    }
    IniFileSaveLoad::SetIniPath(ProgramLocations::detect().settingsFile());
    const ActiveProfile active = ReadActiveProfile();
    const LevelSetting level = ReadLevelSetting();
    UniformSource random;
    random.reseedFromClock();
    const TicketsMade made
        = DrawTickets({{active.levels, active.birthday, level.on, level.strength}, count,
                          fixed.numbers, excluded.numbers, overlap},
            random);
    if (!made.refusal.reason.isEmpty()) {
        std::fprintf(stderr, "numerisphere: %s\n", qPrintable(made.refusal.reason));
        return made.refusal.badList ? 2 : 1;
    }
    for (const Ticket &ticket : made.tickets)
        std::printf("%s\n", qPrintable(DrawText(ticket)));
    return 0;
}

// A whole number from first to last, or none.
std::optional<int> numberIn(const QString &text, int first, int last)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= first && value <= last ? std::optional(value) : std::nullopt;
}

// Answers --help, --version and --import, or refuses what it does not know (exit status 2), before
// any window system is needed; nothing when the program is to start.
std::optional<int> answerCommandLine(int argc, char *argv[])
{
    const QCoreApplication reader(argc, argv);
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
    for (const auto &[name, takesValue] : qtOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        if (takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    const QCommandLineOption import(QStringLiteral("import"),
        QStringLiteral("過去の当せん番号をファイルから読み込みます。\n"
                       "Reads past results from the files given, without a window."));
    parser.addOption(import);
    const QCommandLineOption draw(u"draw"_s,
        u"N 口をまとめて予想し、1 行に 1 口ずつ表示します（1〜20）。\n"
        u"Prints N tickets (1 to 20), one a line, drawn with the settings."_s,
        u"N"_s);
    const QCommandLineOption fixed(u"fixed"_s,
        u"--draw で、どの券にも入れる数字。\nWith --draw: numbers every ticket holds."_s,
        u"LIST"_s);
    const QCommandLineOption exclude(u"exclude"_s,
        u"--draw で、どの券にも入れない数字。\nWith --draw: numbers no ticket holds."_s, u"LIST"_s);
    const QCommandLineOption overlap(u"overlap"_s,
        u"--draw で、2 口が共通に持てる数字の数の上限（0〜5、既定 5）。\n"
        u"With --draw: the most numbers two tickets share (0 to 5, 5 by default)."_s,
        u"K"_s, u"5"_s);
    parser.addOptions({draw, fixed, exclude, overlap});
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("with --import"), QStringLiteral("[FILE...]"));
    const bool parsed = parser.parse(QCoreApplication::arguments());
    const QStringList files = parser.positionalArguments();
    const bool drawing = parsed && parser.isSet(draw);
    const auto count = numberIn(parser.value(draw), 1, MostTicketsAtOnce);
    const auto limit = numberIn(parser.value(overlap), 0, 5);
    const bool drawOptions
        = parsed && (parser.isSet(fixed) || parser.isSet(exclude) || parser.isSet(overlap));
    QString error = !parsed               ? parser.errorText()
        : drawing && parser.isSet(import) ? u"--draw and --import cannot be used together."_s
        : drawing && !count               ? u"--draw takes a number from 1 to 20."_s
        : drawing && !limit               ? u"--overlap takes a number from 0 to 5."_s
        : drawOptions && !drawing         ? u"--fixed, --exclude and --overlap go with --draw."_s
                                          : QString();
    if (error.isEmpty() && files.isEmpty() == (parsed && parser.isSet(import))) {
        error = files.isEmpty() ? QStringLiteral("--import needs a file.")
                                : QStringLiteral("Unknown argument '%1'.").arg(files.constFirst());
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "numerisphere: %s\nTry 'numerisphere --help'.\n", qPrintable(error));
        return 2;
    }
    const bool helpWanted = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    if (helpWanted || parser.isSet(version)) {
        const QString text = helpWanted
            ? parser.helpText()
            : QStringLiteral("%1 %2\n").arg(
                QCoreApplication::applicationName(), QCoreApplication::applicationVersion());
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(import))
        return importFiles(files);
    if (drawing)
        return drawTickets(*count, parser.value(fixed), parser.value(exclude), *limit);
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QString::fromUtf16(ApplicationTitle));
    QCoreApplication::setApplicationVersion(QString::fromUtf16(ApplicationVersion));
    if (const auto status = answerCommandLine(argc, argv))
        return *status;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromUtf16(ApplicationId));
    InstallProgramLook();

    // The interface is Japanese whatever the desktop's locale, standard buttons included.
    QTranslator qtTranslations;
    if (qtTranslations.load(
            QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    FormMain window(ProgramLocations::detect());
    if (!window.Form_Load())
        return 0;
    window.show();
    return QApplication::exec();
}
