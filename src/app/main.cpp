#include "commandline.h"
#include "history/importfile.h"
#include "look/programstyle.h"
#include "mainwindow/formmain.h"
#include "platform/programlocations.h"
#include "productinfo.h"
#include "settings/inifilesaveload.h"
#include "tickets/ticketdraw.h"

#include <QApplication>
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
            qPrintable(fixed.fault.isEmpty() ? u"--exclude の"_s + excluded.fault
                                             : u"--fixed の"_s + fixed.fault));
        return 2;
    }
    for (const QString &note :
        {RepeatedNote(u"--fixed "_s, fixed), RepeatedNote(u"--exclude "_s, excluded)}) {
        if (!note.isEmpty())
            std::fprintf(stderr, "numerisphere: %s\n", qPrintable(note));
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

// Answers --help, --version, --import and --draw, or refuses what it does not know (exit status
// 2), before any window system is needed; nothing when the program is to start.
std::optional<int> answerCommandLine(int argc, char *argv[])
{
    const QCoreApplication reader(argc, argv);
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
    switch (line.action) {
    case CommandLine::Action::Start:
        return std::nullopt;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "numerisphere: %s\n「numerisphere --help」で使い方を表示します。\n",
            qPrintable(line.text));
        return 2;
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::fputs(line.text.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Import:
        return importFiles(line.files);
    case CommandLine::Action::Draw:
        return drawTickets(line.count, line.fixed, line.excluded, line.overlap);
    }
    return 2;
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
